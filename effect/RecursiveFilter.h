// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/F64x2.h"
#include "effect/OversamplingDesign.h"

/// The ten-tap recursive low-pass of the oversampled path, left channel in
/// lane 0 and right in lane 1. Outputs that are not finite or smaller than
/// 2^−54 become 0.0, so neither NaN nor denormals can live in its state.
class RecursiveFilter {
public:
    static constexpr int kTaps = OversamplingDesign::kTaps;

    /// A design broadcast to both lanes, feedback stored oldest tap first.
    struct Taps {
        F64x2 gain;
        F64x2 oldestFirst[kTaps]; ///< c10 … c1

        /// [audio] Spreads `design` over both lanes.
        static Taps from(const OversamplingDesign& design) noexcept
        {
            Taps taps;
            taps.gain = F64x2(design.gain);
            for (int i = 0; i < kTaps; ++i)
                taps.oldestFirst[i] = F64x2(design.feedback[kTaps - 1 - i]);
            return taps;
        }
    };

    /// [audio] Sets all past outputs to zero.
    void reset() noexcept
    {
        for (F64x2& h : mHistory)
            h = F64x2(0.0);
        mPos = 0;
    }

    /// [audio] One oversampled step: y = g·x + c10·y10 + … + c1·y1. The sum
    /// runs from the oldest output to the newest so that the newest, the only
    /// one still in flight, enters last.
    F64x2 step(const Taps& taps, F64x2 x) noexcept
    {
        return push(feedback(taps, taps.gain * x + taps.oldestFirst[0] * mHistory[mPos]));
    }

    /// [audio] The same step for an input of 0.0 (a stuffed zero); g·0 adds
    /// nothing that survives the flush, so it is left out.
    F64x2 stepSilent(const Taps& taps) noexcept { return push(feedback(taps, taps.oldestFirst[0] * mHistory[mPos])); }

    /// [any] The output that stepped in i steps ago, i = 1 … 10.
    F64x2 past(int i) const noexcept { return mHistory[mPos + kTaps - i]; }

private:
    // Adds c9·y9 … c1·y1 to a sum that already holds the c10·y10 term.
    F64x2 feedback(const Taps& taps, F64x2 sum) const noexcept
    {
        // The window mHistory[mPos … mPos+9] holds y10 … y1 without copying.
        const F64x2* window = mHistory + mPos;
        for (int i = 1; i < kTaps; ++i)
            sum += taps.oldestFirst[i] * window[i];
        return sum;
    }

    F64x2 push(F64x2 sum) noexcept
    {
        const F64x2 y = sum.keepIfFiniteAndAtLeast(F64x2(0x1p-54));
        // Each output is written twice, ten apart, so the last ten are always
        // contiguous; the slot overwritten is the output that just left.
        mHistory[mPos] = y;
        mHistory[mPos + kTaps] = y;
        mPos = mPos + 1 == kTaps ? 0 : mPos + 1;
        return y;
    }

    F64x2 mHistory[2 * kTaps];
    int mPos = 0;
};
