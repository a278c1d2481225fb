// SPDX-License-Identifier: GPL-3.0-or-later
// The WAV writer of every system: 32-bit float, RIFF WAVE. The header goes
// first with the final sizes, which are known before the first sample, so
// the file is written front to back without seeking: a pipe or a device
// takes it as a disk file does.
#include "tools/RiffHeader.h"
#include "tools/WavFile.h"
#include "tools/WholeFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr uint16_t kFormatFloat = 3;

void PutLittleEndian(std::vector<unsigned char>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

/// Everything before the samples; `dataBytes` fits the RIFF sizes.
std::vector<unsigned char> Header(const AudioClip& clip, uint32_t rate, uint32_t dataBytes, uint32_t headerBytes)
{
    const uint32_t frameBytes = uint32_t(clip.channels) * sizeof(float);
    std::vector<unsigned char> header;
    header.insert(header.end(), {'R', 'I', 'F', 'F'});
    PutLittleEndian(header, headerBytes + dataBytes, 4);
    header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLittleEndian(header, 18, 4);
    PutLittleEndian(header, kFormatFloat, 2);
    PutLittleEndian(header, uint32_t(clip.channels), 2);
    PutLittleEndian(header, rate, 4);
    PutLittleEndian(header, rate * frameBytes, 4);  // bytes per second: informative, may wrap
    PutLittleEndian(header, frameBytes, 2);
    PutLittleEndian(header, 32, 2);
    PutLittleEndian(header, 0, 2);  // no format extension
    // Every non-PCM WAV carries its frame count in a fact chunk.
    header.insert(header.end(), {'f', 'a', 'c', 't'});
    PutLittleEndian(header, 4, 4);
    PutLittleEndian(header, uint32_t(clip.Frames()), 4);
    header.insert(header.end(), {'d', 'a', 't', 'a'});
    PutLittleEndian(header, dataBytes, 4);
    return header;
}

/// The samples in little-endian order, a block at a time.
bool WriteSamples(std::FILE* file, const std::vector<float>& samples)
{
    std::vector<unsigned char> block;
    constexpr size_t kBlockSamples = 16384;
    for (size_t start = 0; start < samples.size(); start += kBlockSamples) {
        const size_t end = std::min(samples.size(), start + kBlockSamples);
        block.clear();
        for (size_t i = start; i < end; ++i) {
            uint32_t bits;
            std::memcpy(&bits, &samples[i], sizeof bits);
            PutLittleEndian(block, bits, 4);
        }
        if (std::fwrite(block.data(), 1, block.size(), file) != block.size())
            return false;
    }
    return true;
}

} // namespace

bool WriteWav(const std::string& path, const AudioClip& clip, std::string& error)
{
    const uint64_t dataBytes = uint64_t(clip.samples.size()) * sizeof(float);
    // RIFF sizes are 32 bits and count everything after the first 8 bytes.
    constexpr uint32_t kHeaderBytes = 4 + (8 + 18) + (8 + 4) + 8;
    const long long rate = std::llround(clip.rate);
    const char* why = clip.channels < 1 || clip.channels > 0xFFFF ? "no channels or too many"
                      : dataBytes > UINT32_MAX - kHeaderBytes      ? "too long for a WAV file"
                      : rate < 1 || rate > kHighestRiffRate        ? "its sample rate does not fit a WAV file"
                                                                   : nullptr;
    if (why != nullptr) {
        error = "cannot write " + path + ": " + why;
        return false;
    }
    const std::vector<unsigned char> header = Header(clip, uint32_t(rate), uint32_t(dataBytes), kHeaderBytes);
    WholeFile output(path);
    std::FILE* file = output.Open(error);
    if (file == nullptr)
        return false;
    const bool written =
        std::fwrite(header.data(), 1, header.size(), file) == header.size() && WriteSamples(file, clip.samples);
    if (!written || !output.Commit()) {
        error = "cannot write " + path + " (disk full or no permission?)";
        return false;
    }
    return true;
}
