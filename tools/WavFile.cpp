// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/WavFile.h"

#include "tools/WholeFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sndfile.h>

namespace {

uint32_t LittleEndian32(const unsigned char* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

/// The frame count a RIFF WAVE header claims: its data chunk's size over the
/// frame size. libsndfile quietly shortens that claim to what the file holds,
/// so the header is read here. Nothing for other formats, a size left open
/// by a streaming writer (0xFFFFFFFF), or a header that cannot be walked.
std::optional<int64_t> RiffDeclaredFrames(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    unsigned char header[12];
    if (!file || std::fread(header, 1, sizeof header, file.get()) != sizeof header ||
        std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        return std::nullopt;
    uint32_t frameBytes = 0;
    unsigned char chunk[8];
    while (std::fread(chunk, 1, sizeof chunk, file.get()) == sizeof chunk) {
        const uint32_t size = LittleEndian32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            unsigned char format[16];
            if (size < sizeof format || std::fread(format, 1, sizeof format, file.get()) != sizeof format)
                return std::nullopt;
            frameBytes = format[12] | format[13] << 8;  // block align
            if (std::fseek(file.get(), static_cast<long>(size - sizeof format + (size & 1)), SEEK_CUR) != 0)
                return std::nullopt;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (frameBytes == 0 || size == 0xFFFFFFFFu)
                return std::nullopt;
            return static_cast<int64_t>(size / frameBytes);
        } else if (std::fseek(file.get(), static_cast<long>(size) + (size & 1), SEEK_CUR) != 0) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<AudioClip> ReadWav(const std::string& path, int64_t& declaredFrames, std::string& error)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return std::nullopt;
    }
    AudioClip clip;
    clip.channels = info.channels;
    clip.rate = info.samplerate;
    if (info.channels < 1 || info.channels > 2) {
        sf_close(file);
        error = path + " has " + std::to_string(info.channels) + " channels; only mono and stereo are supported";
        return std::nullopt;
    }
    std::string why;
    if (!AllocateFrames(clip, info.frames, why)) {
        sf_close(file);
        error = "cannot read " + path + ": " + why;
        return std::nullopt;
    }
    const sf_count_t got = sf_readf_float(file, clip.samples.data(), info.frames);
    sf_close(file);
    // A read that ends early still delivered whole frames; keep them.
    clip.samples.resize(static_cast<size_t>(std::max<sf_count_t>(got, 0)) * static_cast<size_t>(info.channels));
    declaredFrames = RiffDeclaredFrames(path).value_or(info.frames);
    return clip;
}

bool WriteWav(const std::string& path, const AudioClip& clip, std::string& error)
{
    WholeFile output(path);
    SF_INFO info{};
    info.channels = clip.channels;
    info.samplerate = static_cast<int>(std::lround(clip.rate));
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(output.TemporaryPath().c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    const sf_count_t written = sf_writef_float(file, clip.samples.data(), clip.Frames());
    const bool closed = sf_close(file) == 0;
    if (written != clip.Frames() || !closed || !output.Commit()) {
        error = "cannot write " + path + " (disk full or no permission?)";
        return false;
    }
    return true;
}
