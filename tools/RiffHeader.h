// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

/// What a RIFF WAVE file's header says about its samples.
struct RiffWave {
    uint16_t format = 0;     ///< format tag; an extensible file's sub-format
    int channels = 0;
    uint32_t rate = 0;       ///< Hz
    int bits = 0;            ///< per sample
    uint64_t dataBytes = 0;  ///< the data chunk's claimed size
    bool openEnded = false;  ///< size left open by a streaming writer: the data runs to the end

    /// Bytes of one stored frame, from the channels and sample size: the
    /// header's block align is not trusted (libsndfile ignores it too).
    uint32_t FrameBytes() const { return uint32_t(channels) * uint32_t((bits + 7) / 8); }
};

enum class RiffHeaderResult {
    kNotRiffWave,  ///< the file does not start as a RIFF WAVE file
    kUnusable,     ///< a RIFF WAVE file whose header describes no usable audio
    kFound,        ///< the file is positioned at the first sample
};

/// [ui] Walks a RIFF WAVE header from `file`'s start to its sample data.
/// kUnusable puts a one-line reason naming what is wrong into `why`: no
/// format chunk before the data, a short format chunk, no data, or a sample
/// rate of 0 or above kHighestRiffRate. The same files get the same reasons
/// on every system.
RiffHeaderResult ReadRiffHeader(std::FILE* file, RiffWave& wave, std::string& why);

/// The highest sample rate a file may have: every WAV library's rate is a
/// signed 32-bit number, so no rate above this reads the same everywhere.
constexpr uint32_t kHighestRiffRate = 2147483647u;
