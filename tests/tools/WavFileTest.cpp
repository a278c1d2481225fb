// SPDX-License-Identifier: GPL-3.0-or-later
// WAV input: every sample format keldra-render accepts, files cut short and
// files it must refuse, written here byte by byte. The same cases hold for
// each system's reader (libsndfile on Linux, the project's own on Windows).
#include "TemporaryFolder.h"
#include "tools/WavFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kExtensible = 0xFFFE;

// Exact in every sample format, including full-scale negative and one
// 16-bit step.
const std::vector<double> kValues = {0.5, -1.0, 0.25, -0.125, 1.0 / 32768.0, 0.0};

struct Bytes {
    std::vector<unsigned char> data;
    void Text(const char* four) { data.insert(data.end(), four, four + 4); }
    void Number(uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i) data.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
};

/// A RIFF WAVE file holding `values` (interleaved) in the given format. The
/// data chunk claims `claimedFrames` (all of them when negative) and an odd
/// sized chunk the reader must skip comes first.
std::vector<unsigned char> MakeWav(uint16_t tag, int bits, int channels, const std::vector<double>& values,
                                   int64_t claimedFrames = -1)
{
    const bool extensible = tag == kExtensible;
    const uint16_t realTag = extensible ? kPcm : tag;
    const int sampleBytes = bits / 8;
    Bytes samples;
    for (double v : values) {
        if (realTag == kFloat && bits == 32) {
            const float f = static_cast<float>(v);
            uint32_t word;
            std::memcpy(&word, &f, 4);
            samples.Number(word, 4);
        } else if (realTag == kFloat) {
            uint64_t word;
            std::memcpy(&word, &v, 8);
            samples.Number(word, 8);
        } else {
            // 8-bit samples are unsigned, silence at 128.
            const long long offset = bits == 8 ? 128 : 0;
            samples.Number(static_cast<uint64_t>(std::llround(v * std::ldexp(1.0, bits - 1)) + offset), sampleBytes);
        }
    }
    const int64_t frames = static_cast<int64_t>(values.size()) / channels;
    const uint32_t claimedBytes = static_cast<uint32_t>((claimedFrames < 0 ? frames : claimedFrames) * channels *
                                                        sampleBytes);
    Bytes file;
    file.Text("RIFF");
    file.Number(0, 4);  // patched below
    file.Text("WAVE");
    file.Text("fmt ");
    file.Number(extensible ? 40 : 16, 4);
    file.Number(tag, 2);
    file.Number(static_cast<uint32_t>(channels), 2);
    file.Number(44100, 4);
    file.Number(44100u * static_cast<uint32_t>(channels * sampleBytes), 4);
    file.Number(static_cast<uint32_t>(channels * sampleBytes), 2);
    file.Number(static_cast<uint32_t>(bits), 2);
    if (extensible) {
        file.Number(22, 2);                       // extension size
        file.Number(static_cast<uint32_t>(bits), 2);  // valid bits
        file.Number(channels == 1 ? 0x4 : 0x3, 4);    // speaker mask
        // KSDATAFORMAT_SUBTYPE_PCM
        file.Number(realTag, 2);
        const unsigned char rest[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                        0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        file.data.insert(file.data.end(), rest, rest + 14);
    }
    file.Text("LIST");
    file.Number(3, 4);
    file.data.insert(file.data.end(), {'a', 'b', 'c', 0});  // odd size: one pad byte
    file.Text("data");
    file.Number(claimedBytes, 4);
    file.data.insert(file.data.end(), samples.data.begin(), samples.data.end());
    const uint32_t riffSize = static_cast<uint32_t>(file.data.size() - 8);
    for (int i = 0; i < 4; ++i) file.data[4 + i] = static_cast<unsigned char>(riffSize >> (8 * i));
    return file.data;
}

class WavFile : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) const
    {
        const std::string path = folder.Path(name);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    TemporaryFolder folder{"keldra-wav-"};
};

}  // namespace

TEST_F(WavFile, ReadsEveryPcmAndFloatSampleSizeInMonoAndStereo)
{
    struct Format {
        uint16_t tag;
        int bits;
    };
    for (const Format format : {Format{kPcm, 8}, Format{kPcm, 16}, Format{kPcm, 24}, Format{kPcm, 32},
                                Format{kFloat, 32}, Format{kFloat, 64}, Format{kExtensible, 24}}) {
        for (int channels : {1, 2}) {
            SCOPED_TRACE(std::to_string(format.tag) + "/" + std::to_string(format.bits) + "/" +
                         std::to_string(channels));
            const std::string path = Write("in.wav", MakeWav(format.tag, format.bits, channels, kValues));
            int64_t declared = -1;
            std::string error;
            const auto clip = ReadWav(path, declared, error);
            ASSERT_TRUE(clip) << error;
            EXPECT_EQ(clip->channels, channels);
            EXPECT_EQ(clip->rate, 44100.0);
            EXPECT_EQ(declared, static_cast<int64_t>(kValues.size()) / channels);
            ASSERT_EQ(clip->samples.size(), kValues.size());
            // 8 bits hold every value but the smallest, which rounds to 0.
            for (size_t i = 0; i < kValues.size(); ++i)
                EXPECT_EQ(clip->samples[i], format.bits == 8 && i == 4 ? 0.0f : static_cast<float>(kValues[i]));
        }
    }
}

TEST_F(WavFile, AFileCutShortKeepsItsWholeFramesAndTellsWhatItsHeaderClaims)
{
    std::vector<unsigned char> bytes = MakeWav(kPcm, 16, 2, kValues, 1000);
    bytes.pop_back();  // half a sample more: the last frame is incomplete
    int64_t declared = 0;
    std::string error;
    const auto clip = ReadWav(Write("short.wav", bytes), declared, error);
    ASSERT_TRUE(clip) << error;
    EXPECT_EQ(declared, 1000);
    EXPECT_EQ(clip->Frames(), 2);
    EXPECT_EQ(clip->samples, std::vector<float>({0.5f, -1.0f, 0.25f, -0.125f}));
}

TEST_F(WavFile, InputItCannotUseIsRefusedWithOneLineNamingTheFile)
{
    const std::string cases[] = {
        folder.Path("missing.wav"),
        Write("junk.wav", {'R', 'I', 'F', 'F', 'n', 'o', 't', ' ', 'r', 'e', 'a', 'l', 'l', 'y'}),
        Write("three.wav", MakeWav(kPcm, 16, 3, kValues)),
        Write("empty.wav", {}),
    };
    for (const std::string& path : cases) {
        int64_t declared = 0;
        std::string error;
        EXPECT_FALSE(ReadWav(path, declared, error)) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    int64_t declared = 0;
    std::string error;
    ReadWav(folder.Path("three.wav"), declared, error);
    EXPECT_NE(error.find("3 channels"), std::string::npos) << error;
}

TEST_F(WavFile, HeadersClaimingMoreThanTheFileOrTheMemoryHoldsGetAReasonNeverACrash)
{
    // Nearly 4 GB claimed over six frames: those are read, the claim counted
    // whole (more frames than a 32-bit long holds bytes for).
    int64_t declared = 0;
    std::string error;
    const auto clip = ReadWav(Write("claims.wav", MakeWav(kFloat, 32, 1, kValues, 0x3FFFFFFC)), declared, error);
    ASSERT_TRUE(clip) << error;
    EXPECT_EQ(declared, 0x3FFFFFFC);
    EXPECT_EQ(clip->Frames(), 6);

#ifdef _WIN32
    // Data "until the end" of a file of a terabyte (sparse: it takes no disk)
    // is more than any machine's memory: refused before anything is allocated.
    // (libsndfile, the reader elsewhere, stops a plain WAV file at 4 GB.)
    std::vector<unsigned char> bytes = MakeWav(kPcm, 16, 1, kValues);
    const size_t size = bytes.size() - kValues.size() * 2 - 4;
    for (size_t i = 0; i < 4; ++i) bytes[size + i] = 0xFF;
    const std::string huge = Write("huge.wav", bytes);
    {
        // libstdc++'s resize_file stops at 2 GB here; the system's call does not.
        const HANDLE file = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER end;
        end.QuadPart = int64_t(1) << 40;
        const bool grown = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        ASSERT_TRUE(grown);
    }
    EXPECT_FALSE(ReadWav(huge, declared, error));
    EXPECT_NE(error.find(huge), std::string::npos) << error;
    EXPECT_NE(error.find("do not fit in memory"), std::string::npos) << error;
#endif
}

TEST_F(WavFile, RiffSixtyFourIsReadWhereLibsndfileIsAndRefusedByNameElsewhere)
{
    // An RF64 file: its sizes in a ds64 chunk, the RIFF ones left open; the
    // plain file's format and data chunks, without the odd-sized LIST chunk
    // between them (libsndfile's RF64 reader skips no pad byte).
    const std::vector<unsigned char> wav = MakeWav(kFloat, 32, 1, kValues);
    const auto formatChunk = wav.begin() + 12;
    const auto listChunk = formatChunk + 8 + 16;
    const auto dataChunk = listChunk + 12;
    const uint64_t dataBytes = kValues.size() * 4;
    Bytes file;
    file.Text("RF64");
    file.Number(0xFFFFFFFF, 4);
    file.Text("WAVE");
    file.Text("ds64");
    file.Number(28, 4);
    file.Number(4 + 36 + 24 + 8 + dataBytes, 8);  // RIFF size
    file.Number(dataBytes, 8);
    file.Number(kValues.size(), 8);  // frames
    file.Number(0, 4);               // no table
    file.data.insert(file.data.end(), formatChunk, listChunk);
    file.Text("data");
    file.Number(0xFFFFFFFF, 4);
    file.data.insert(file.data.end(), dataChunk + 8, wav.end());
    const std::string path = Write("rf64.wav", file.data);
    int64_t declared = 0;
    std::string error;
    const auto clip = ReadWav(path, declared, error);
#ifdef _WIN32
    EXPECT_FALSE(clip);
    EXPECT_EQ(error, "cannot read " + path + ": it is an RF64 file, which keldra-render cannot read on Windows");
#else
    ASSERT_TRUE(clip) << error;
    EXPECT_EQ(clip->Frames(), static_cast<int64_t>(kValues.size()));
    EXPECT_EQ(declared, clip->Frames());
#endif
}
