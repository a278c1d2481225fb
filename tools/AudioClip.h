// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

/// Audio held in memory: interleaved float samples.
struct AudioClip {
    int channels = 0;
    double rate = 0.0;          ///< Hz
    std::vector<float> samples; ///< frames × channels, interleaved

    long Frames() const { return channels > 0 ? static_cast<long>(samples.size()) / channels : 0; }
};

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
