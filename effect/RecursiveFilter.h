// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/F64x2.h"
#include "effect/OversamplingDesign.h"

#include <cmath>

/// The ten-tap recursive low-pass of the oversampled path, left channel in
/// lane 0 and right in lane 1. Outputs that are not finite or smaller than
/// 2^−54 become 0.0, so neither NaN nor denormals can live in its state.
///
/// Steps are numbered within a chunk of at most kChunk steps. Step i reads
/// its ten past outputs from history slots i … i+9 and writes slot i+10, so
/// no history is ever shifted; endChunk carries the last ten to the front.
class RecursiveFilter {
public:
    static constexpr int kTaps = OversamplingDesign::kTaps;
    static constexpr int kChunk = 512;

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
        for (int i = 0; i < kTaps; ++i)
            mHistory[i] = F64x2(0.0);
    }

    /// What the caller guarantees about the values of a step.
    enum class Range {
        Any,     ///< inputs and history may be huge or not finite
        Bounded, ///< inputs and history are below 1e290 in magnitude (NaN
                 ///< allowed): the filter lifts a past state at most about
                 ///< 1.2e9 times (at N = 16) and its taps sum to under 600,
                 ///< so no sum can overflow within a chunk and the flush
                 ///< need not look for infinities
    };

    /// [audio] Step i (0 ≤ i < kChunk) of the chunk on input x, where
    /// `newest` is the output of step i − 1 (the caller keeps it in a
    /// register; it is also in the history):
    /// y = g·x + c10·y10 + … + c1·y1, summed from the oldest output to the
    /// newest so that the newest, the one still in flight, enters last.
    template <Range kRange = Range::Any>
    F64x2 step(const Taps& taps, int i, F64x2 x, F64x2 newest) noexcept
    {
        const F64x2* window = mHistory + i;
        return push<kRange>(i, sumFrom(taps, window, taps.gain * x + taps.oldestFirst[0] * window[0], newest));
    }

    /// [audio] Step i for an input of 0.0 (a stuffed zero), without the g·0
    /// term: adding a zero changes no sum that is not zero itself, and a
    /// zero sum, of either sign, leaves the flush as +0.0 either way.
    template <Range kRange = Range::Any>
    F64x2 stepSilent(const Taps& taps, int i, F64x2 newest) noexcept
    {
        const F64x2* window = mHistory + i;
        return push<kRange>(i, sumFrom(taps, window, taps.oldestFirst[0] * window[0], newest));
    }

    /// [audio] After `steps` steps (1 … kChunk), moves the last ten outputs
    /// to the front for the next chunk.
    void endChunk(int steps) noexcept
    {
        for (int i = 0; i < kTaps; ++i)
            mHistory[i] = mHistory[steps + i];
    }

    /// [audio] Before endChunk: the outputs of this chunk's steps 0, 1, …
    const F64x2* chunkOutputs() const noexcept { return mHistory + kTaps; }

    /// [any] Between chunks: true when every past output is below `limit`
    /// in magnitude.
    bool historyBelow(double limit) const noexcept
    {
        for (int i = 0; i < kTaps; ++i)
            if (!(std::fabs(mHistory[i].left()) < limit && std::fabs(mHistory[i].right()) < limit))
                return false;
        return true;
    }

    /// [any] Between chunks: the output of i steps ago, i = 1 … 10.
    F64x2 past(int i) const noexcept { return mHistory[kTaps - i]; }

private:
    // Adds c9·y9 … c2·y2 from the window and c1·y1 from `newest` to a sum
    // that already holds the c10·y10 term.
    static F64x2 sumFrom(const Taps& taps, const F64x2* window, F64x2 sum, F64x2 newest) noexcept
    {
        for (int i = 1; i < kTaps - 1; ++i)
            sum += taps.oldestFirst[i] * window[i];
        return sum + taps.oldestFirst[kTaps - 1] * newest;
    }

    template <Range kRange>
    F64x2 push(int i, F64x2 sum) noexcept
    {
        const F64x2 tiny(0x1p-54);
        const F64x2 y = kRange == Range::Bounded ? sum.keepIfAtLeast(tiny) : sum.keepIfFiniteAndAtLeast(tiny);
        mHistory[i + kTaps] = y;
        return y;
    }

    F64x2 mHistory[kTaps + kChunk];
};
