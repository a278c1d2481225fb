// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/WavFile.h"

#include "tools/WholeFile.h"

#include <cmath>
#include <sndfile.h>

std::optional<AudioClip> ReadWav(const std::string& path, std::string& error)
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
    clip.samples.resize(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    const sf_count_t got = sf_readf_float(file, clip.samples.data(), info.frames);
    sf_close(file);
    if (got != info.frames) {
        error = "cannot read " + path + ": the file ends early";
        return std::nullopt;
    }
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
