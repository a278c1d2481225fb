// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// Audio held in memory: interleaved float samples.
struct AudioClip {
    int channels = 0;
    double rate = 0.0;          ///< Hz
    std::vector<float> samples; ///< frames × channels, interleaved

    /// Counted in 64 bits on every system (Windows' long has 32).
    int64_t Frames() const { return channels > 0 ? static_cast<int64_t>(samples.size()) / channels : 0; }
};

/// [ui] Makes room for `frames` frames of `clip.channels` samples (zeros), or
/// leaves the clip empty and says why in `error` when they would not fit in
/// this machine's memory: a file's header may claim any length.
bool AllocateFrames(AudioClip& clip, int64_t frames, std::string& error);

/// Level of a clip over all channels.
struct ClipLevels {
    double peakDb = -300.0; ///< dBFS of the largest magnitude
    double rmsDb = -300.0;  ///< dBFS of the root mean square
};

/// [any] Peak and RMS level; silence reads as -300 dBFS.
ClipLevels MeasureLevels(const AudioClip& clip);

/// [any] The built-in test signal: stereo at `rate`, `seconds` long; left a
/// logarithmic sine sweep from 20 Hz to 20 kHz, right a 220 Hz sine, both
/// with a peak of 0.25 (-12 dBFS), faded in and out over 10 ms.
AudioClip MakeDemoSignal(double seconds, double rate);
