// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/PluginInstance.h"
#include "tools/OfflineRenderer.h"

#include <vector>

/// One measured point of a magnitude response.
struct ResponsePoint {
    double hz = 0.0;
    double db = 0.0; ///< output level over input level, left channel
};

/// [ui] Measures the magnitude response of a set-up `plugin` (stereo) the
/// way an engineer would on the bench: `settings` go in through the first
/// block's parameter queues, a second of silence lets every smoother settle,
/// then one low-level sine (peak 0.001, where the saturation is linear) per
/// frequency plays through both channels in blocks of `block` frames until
/// the filters have settled, and the left output's amplitude is fitted over
/// a whole number of further periods. Frequencies are 40 a decade (finer than
/// 1/12 octave) from 10 Hz to 20 kHz, stopping below 0.45 × the sample rate;
/// the grid holds every decade (100 Hz, 1 kHz, 10 kHz) exactly.
std::vector<ResponsePoint> MeasureResponse(PluginInstance& plugin, const std::vector<ResolvedSetting>& settings,
                                           int block);
