// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/ChainSettings.h"
#include "effect/HighPassSection.h"
#include "effect/HighShelfSection.h"
#include "effect/IBypassSource.h"
#include "effect/LowPassSection.h"
#include "effect/LowShelfSection.h"
#include "effect/MidBellSection.h"
#include "effect/OversamplingDesign.h"
#include "effect/PositionSmoother.h"
#include "effect/RecursiveFilter.h"
#include "effect/StereoSection.h"

/// The effect's stereo signal path, sample by sample:
/// dry + 10^−1.5 × (oversampled waveshaper on 10 × dry) → high shelf →
/// high-pass → low-pass → mid bell → low shelf → output gain, or an exact
/// copy of the input while Bypass is on. Left and right run in the two lanes
/// of one register. Holds everything by value; nothing is allocated, ever.
class SignalChain {
public:
    // ---- lifecycle -------------------------------------------------------

    /// [audio or ui, plug-in lock held] Clears the four oversampling filters.
    /// Smoothers, sections and the design are left as they are.
    void reset() noexcept;

    // ---- processing ------------------------------------------------------

    /// [audio, plug-in lock held] Designs the oversampling filter for
    /// `settings.oversampling` (even when `frames` is below 1), then fills
    /// `frames` samples of out[0] (left) and out[1] (right) from in[0] and
    /// in[1]. Inputs and outputs may be the same arrays. Denormals are
    /// flushed for the duration of the call.
    void process(const double* const in[2], double* const out[2], int frames, const ChainSettings& settings,
                 const IBypassSource& bypass) noexcept;

    // ---- inspection (tests) ----------------------------------------------

    /// [any] Design in force since the last block started.
    const OversamplingDesign& design() const noexcept { return mDesign; }
    /// [any] Decimated oversampled-path result of the last sample, per lane.
    F64x2 lastDecimated() const noexcept { return mDecimated; }

private:
    template <int kFixedFactor>
    void run(const double* const in[2], double* const out[2], int frames, const ChainSettings& settings,
             const IBypassSource& bypass, int runtimeFactor) noexcept;

    PositionSmoother mHighShelfSmoother;
    PositionSmoother mHighPassSmoother;
    PositionSmoother mLowPassSmoother;
    PositionSmoother mMidBellSmoother;
    PositionSmoother mLowShelfSmoother;

    StereoSection<HighShelfSection::kOrder> mHighShelf;
    StereoSection<HighPassSection::kOrder> mHighPass;
    StereoSection<LowPassSection::kOrder> mLowPass;
    StereoSection<MidBellSection::kOrder> mMidBell;
    StereoSection<LowShelfSection::kOrder> mLowShelf;

    OversamplingDesign mDesign;
    RecursiveFilter mUp;
    RecursiveFilter mDown;
    F64x2 mDecimated;
};
