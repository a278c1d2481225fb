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
/// copy of the input while Bypass is on. The whole path runs on under Bypass,
/// so leaving it gives exactly what the chain would give had it never been
/// on. Left and right run in the two lanes of one register. Holds everything
/// by value; nothing is allocated, ever.
class SignalChain {
public:
    // ---- lifecycle -------------------------------------------------------

    /// [audio or ui, plug-in lock held] Clears the four oversampling filters.
    /// Smoothers, sections and the design are left as they are.
    void reset() noexcept;

    // ---- processing ------------------------------------------------------

    /// [audio, plug-in lock held] Designs the oversampling filter for
    /// `settings.oversampling` (16, or else 4) even when `frames` is below 1,
    /// then fills `frames` samples of out[0] (left) and out[1] (right) from
    /// in[0] and in[1]. Inputs and outputs may be the same arrays. Denormals
    /// are flushed for the duration of the call; the caller's mode returns.
    void process(const double* const in[2], double* const out[2], int frames, const ChainSettings& settings,
                 const IBypassSource& bypass) noexcept;

    // ---- inspection (tests) ----------------------------------------------

    /// [any] Design in force since the last block started.
    const OversamplingDesign& design() const noexcept { return mDesign; }

private:
    // The larger oversampling factor; a chunk is as many base samples as
    // fill the filters' history windows (kChunk sub-samples) at the factor.
    static constexpr int kMaxFactor = 16;

    template <int kFactor>
    void run(const double* const in[2], double* const out[2], int frames, const ChainSettings& settings,
             const IBypassSource& bypass) noexcept;

    struct BlockScales {
        BilinearScale highShelf, highPass, lowPass, midBell, lowShelf;
    };
    bool computeCoefficients(int count, const BlockScales& scales) noexcept;

    template <int kFactor>
    void upAndDown(const double* inL, const double* inR, int upFrames, const F64x2* shaped, int downFrames,
                   const RecursiveFilter::Taps& taps) noexcept;
    template <int kFactor, RecursiveFilter::Range kUpRange>
    void upAndDown(const double* inL, const double* inR, int upFrames, const F64x2* shaped, int downFrames,
                   const RecursiveFilter::Taps& taps) noexcept;
    void sections(const double* inL, const double* inR, double* outL, double* outR, int frames,
                  const BlockScales& scales, F64x2 mix, F64x2 gain, const IBypassSource& bypass) noexcept;

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
    // The down filter runs one chunk behind the up filter, so the two
    // recursions can overlap; shaper outputs wait here in between.
    F64x2 mShaped[2][RecursiveFilter::kChunk];
    F64x2 mDecimated[RecursiveFilter::kChunk / 4]; ///< decimated results of one chunk

    // Section coefficients of a run of samples, computed ahead of the
    // sections so that the independent coefficient work is not held up
    // behind the sections' sample-to-sample recursion.
    static constexpr int kCoefficientRun = 32;
    struct CoefficientRun {
        SectionCoefficients<HighShelfSection::kOrder> highShelf[kCoefficientRun];
        SectionCoefficients<HighPassSection::kOrder> highPass[kCoefficientRun];
        SectionCoefficients<LowPassSection::kOrder> lowPass[kCoefficientRun];
        SectionCoefficients<MidBellSection::kOrder> midBell[kCoefficientRun];
        SectionCoefficients<LowShelfSection::kOrder> lowShelf[kCoefficientRun];
    };
    CoefficientRun mCoefficients;

    // One run's samples on their way through the sections.
    F64x2 mSectionValues[kCoefficientRun];
};
