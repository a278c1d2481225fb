// SPDX-License-Identifier: GPL-3.0-or-later
// The WAV reader on Windows, where libsndfile is not available: RIFF WAVE
// with 8-, 16-, 24- or 32-bit integer PCM or 32- or 64-bit float samples
// (plain or WAVE_FORMAT_EXTENSIBLE), one or two channels. Integer samples
// scale as libsndfile scales them (by 2^-(bits-1)), so both builds read the
// same file as the same floats. Other formats libsndfile reads are refused
// by name, so the user knows to convert the file.
#include "tools/WavFile.h"

#include "tools/FileSystem.h"
#include "tools/RiffHeader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

uint16_t LittleEndian16(const unsigned char* bytes)
{
    return uint16_t(bytes[0] | bytes[1] << 8);
}

uint32_t LittleEndian32(const unsigned char* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
}

/// The bytes from the position to the end of the file; 0 when unknown.
uint64_t BytesLeft(std::FILE* file)
{
    const int64_t here = _ftelli64(file);
    if (here < 0 || _fseeki64(file, 0, SEEK_END) != 0)
        return 0;
    const int64_t end = _ftelli64(file);
    _fseeki64(file, here, SEEK_SET);
    return end > here ? uint64_t(end - here) : 0;
}

/// Why a file that is not RIFF WAVE cannot be read, naming its format when
/// its first bytes show one libsndfile reads elsewhere.
std::string NotRiffWave(std::FILE* file)
{
    struct Format {
        const char* magic;
        const char* name;
    };
    static const Format kFormats[] = {
        {"RF64", "an RF64"}, {"BW64", "an RF64"}, {"riff", "a Wave64 (W64)"},
        {"FORM", "an AIFF"}, {"fLaC", "a FLAC"},  {"OggS", "an Ogg"},
    };
    unsigned char magic[4];
    std::rewind(file);
    if (std::fread(magic, 1, sizeof magic, file) == sizeof magic)
        for (const Format& format : kFormats)
            if (std::memcmp(magic, format.magic, 4) == 0)
                return std::string("it is ") + format.name + " file, which keldra-render cannot read on Windows";
    return "not a WAV file";
}

bool Decodable(const RiffWave& wave)
{
    switch (wave.format) {
    case kFormatPcm:
        return wave.bits == 8 || wave.bits == 16 || wave.bits == 24 || wave.bits == 32;
    case kFormatFloat:
        return wave.bits == 32 || wave.bits == 64;
    default:
        return false;
    }
}

float Decode(const unsigned char* sample, const RiffWave& wave)
{
    if (wave.format == kFormatFloat) {
        if (wave.bits == 32) {
            const uint32_t bits = LittleEndian32(sample);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        const uint64_t bits = LittleEndian32(sample) | uint64_t(LittleEndian32(sample + 4)) << 32;
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return static_cast<float>(value);
    }
    switch (wave.bits) {
    case 8:
        // 8-bit WAV samples are unsigned, silence at 128.
        return float(int(sample[0]) - 128) / 128.0f;
    case 16:
        return float(int16_t(LittleEndian16(sample))) / 32768.0f;
    case 24:
        // The three bytes into the top of a 32-bit word keep the sign.
        return float(double(int32_t(uint32_t(sample[0]) << 8 | uint32_t(sample[1]) << 16 | uint32_t(sample[2]) << 24)) /
                     2147483648.0);
    default:
        return float(double(int32_t(LittleEndian32(sample))) / 2147483648.0);
    }
}

} // namespace

std::optional<AudioClip> ReadWav(const std::string& path, int64_t& declaredFrames, std::string& error)
{
    const auto fail = [&](const std::string& why) {
        error = "cannot read " + path + ": " + why;
        return std::nullopt;
    };
    File file(OpenFile(path, "rb"), &std::fclose);
    if (!file) return fail(OpenFailureText());
    RiffWave wave;
    std::string why;
    switch (ReadRiffHeader(file.get(), wave, why)) {
    case RiffHeaderResult::kNotRiffWave:
        return fail(NotRiffWave(file.get()));
    case RiffHeaderResult::kUnusable:
        return fail(why);
    case RiffHeaderResult::kFound:
        break;
    }
    if (!Decodable(wave))
        return fail("unsupported sample format (format " + std::to_string(wave.format) + ", " +
                    std::to_string(wave.bits) + " bits); 8, 16, 24 or 32-bit PCM and 32 or 64-bit float are supported");
    if (wave.channels < 1 || wave.channels > 2) {
        error = path + " has " + std::to_string(wave.channels) + " channels; only mono and stereo are supported";
        return std::nullopt;
    }
    // Read what is there: a file cut short keeps its whole frames.
    const uint32_t frameBytes = wave.FrameBytes();
    const uint64_t present = BytesLeft(file.get());
    const uint64_t claimed = wave.openEnded ? present : wave.dataBytes;
    declaredFrames = int64_t(claimed / frameBytes);
    AudioClip clip;
    clip.channels = wave.channels;
    clip.rate = wave.rate;
    if (!AllocateFrames(clip, int64_t(std::min(claimed, present) / frameBytes), why))
        return fail(why);
    // Whole frames at a time, decoded straight into the clip.
    const size_t sampleBytes = size_t(wave.bits / 8);
    unsigned char block[65536];
    const size_t blockFrames = sizeof block / frameBytes;
    size_t done = 0;
    while (done < clip.samples.size()) {
        const size_t samples = std::min(blockFrames * size_t(wave.channels), clip.samples.size() - done);
        const size_t got = std::fread(block, sampleBytes, samples, file.get());
        for (size_t i = 0; i < got; ++i) clip.samples[done + i] = Decode(block + i * sampleBytes, wave);
        done += got;
        if (got < samples) break;
    }
    if (std::ferror(file.get())) return fail(std::strerror(errno));
    // A file that shrank while being read keeps the whole frames it gave.
    clip.samples.resize(done - done % size_t(wave.channels));
    return clip;
}
