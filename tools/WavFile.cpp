// SPDX-License-Identifier: GPL-3.0-or-later
// The sound file reader where libsndfile is available: every format it
// reads. A RIFF WAVE header is checked first by the reader all systems
// share, so a damaged one gets the same words as on Windows, never
// libsndfile's internal ones.
#include "tools/WavFile.h"

#include "tools/RiffHeader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sndfile.h>
#include <sys/stat.h>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;

/// The frame count a RIFF WAVE header claims, which libsndfile quietly
/// shortens to what the file holds. Nothing for other formats, compressed
/// samples or a size left open; false and `why` for a damaged header.
bool ClaimedFrames(const std::string& path, std::optional<int64_t>& frames, std::string& why)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        why = std::strerror(errno);
        return false;
    }
    RiffWave wave;
    switch (ReadRiffHeader(file.get(), wave, why)) {
    case RiffHeaderResult::kUnusable:
        return false;
    case RiffHeaderResult::kFound:
        if ((wave.format == kFormatPcm || wave.format == kFormatFloat) && wave.FrameBytes() > 0 && !wave.openEnded)
            frames = int64_t(wave.dataBytes / wave.FrameBytes());
        return true;
    case RiffHeaderResult::kNotRiffWave:
        return true;
    }
    return true;
}

/// False for standard input ("-" to libsndfile) and pipes, such as a shell's
/// <(command): their header, once read here, would be gone for libsndfile.
bool CanReadTwice(const std::string& path)
{
    struct stat info{};
    return path != "-" && (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode));
}

} // namespace

std::optional<AudioClip> ReadWav(const std::string& path, int64_t& declaredFrames, std::string& error)
{
    std::optional<int64_t> claimed;
    std::string why;
    if (CanReadTwice(path) && !ClaimedFrames(path, claimed, why)) {
        error = "cannot read " + path + ": " + why;
        return std::nullopt;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "cannot read " + path + ": not a sound file in a format it reads (libsndfile: " +
                sf_strerror(nullptr) + ")";
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
    if (!AllocateFrames(clip, info.frames, why)) {
        sf_close(file);
        error = "cannot read " + path + ": " + why;
        return std::nullopt;
    }
    const sf_count_t got = sf_readf_float(file, clip.samples.data(), info.frames);
    sf_close(file);
    // A read that ends early still delivered whole frames; keep them.
    clip.samples.resize(static_cast<size_t>(std::max<sf_count_t>(got, 0)) * static_cast<size_t>(info.channels));
    declaredFrames = claimed.value_or(info.frames);
    return clip;
}
