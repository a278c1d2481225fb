// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/ChainSettings.h"
#include "effect/CoefficientRun.h"
#include "effect/HighPassSection.h"
#include "effect/HighShelfSection.h"
#include "effect/LowPassSection.h"
#include "effect/LowShelfSection.h"
#include "effect/MidBellSection.h"
#include "effect/OversampledPath.h"
#include "effect/OversamplingDesign.h"
#include "effect/PositionSmoother.h"
#include "effect/StereoSection.h"

/// The effect's stereo signal path, sample by sample:
/// dry + 10^−1.5 × (oversampled waveshaper on 10 × dry) → high shelf →
/// high-pass → low-pass → mid bell → low shelf → output gain. Bypass is not
/// its business: the plug-in base cross-fades both bypasses around it. Left
/// and right run in the two lanes of one register. Holds everything by value;
/// nothing is allocated, ever.
class SignalChain {
public:
    // ---- lifecycle -------------------------------------------------------

    /// [audio or ui, never while processing] Processing
    /// (re)starts, at `sampleRate` Hz: clears the four oversampling filters
    /// and the five sections' histories whatever the rate, and the first
    /// block of at least one frame that follows starts every smoother at
    /// its target. The design is left as it is.
    void reset(double sampleRate) noexcept;

    // ---- processing ------------------------------------------------------

    /// [audio] Designs the oversampling filter for
    /// `settings.oversampling` (16, or else 4) even when `frames` is below 1,
    /// clearing the oversampling filters when that factor differs from the
    /// previous call's, then fills `frames` samples of out[0] (left) and
    /// out[1] (right) from in[0] and in[1], at `settings`, which hold for the
    /// whole call (the base reads them as one whole set; no lock is taken).
    /// Inputs and outputs may be the same arrays. Denormals are flushed for the duration of the call; the
    /// caller's mode returns.
    void process(const double* const in[2], double* const out[2], int frames, const ChainSettings& settings) noexcept;

    // ---- silence ---------------------------------------------------------

    /// Far below hearing, the model never falls silent by itself: its
    /// sections and its 16x oversampling filters settle into rounding
    /// oscillations (up to about 4e-10) that last for ever. So at the end of
    /// every block the chain looks back: when both inputs have been exactly
    /// zero (of either sign) for the last kQuietSeconds (rounded up to whole
    /// samples), neither output (after the output gain) reached kQuietLevel in magnitude in that
    /// time, and every history of the five sections is below kQuietLevel,
    /// every signal state (the sections' histories and the oversampling
    /// filters') is set to zero. The chain then sleeps: a block whose input
    /// is all zero is not processed, its output is exactly +0 and only the
    /// smoothers move on; the first sound is
    /// processed exactly as by a chain whose states are zero. Renders differ
    /// from those of a chain without the rule only after such a silence, by
    /// what the chain would still have put out: below kQuietLevel.
    static constexpr double kQuietLevel = 0x1p-24; ///< about −144 dBFS
    static constexpr double kQuietSeconds = 0.05;

    /// [audio] True when the last block of at least one frame was slept
    /// through: its output is exactly zero, and so will every later block's
    /// be until the input is not zero.
    bool sleptThrough() const noexcept { return mSlept; }

    /// [any] An upper bound, in samples at `sampleRate`, of how long after
    /// its input falls silent the chain goes to sleep, for input up to
    /// 0 dBFS at any setting.
    static int tailSamples(double sampleRate) noexcept;

    // ---- inspection (tests) ----------------------------------------------

    /// [any] Design in force since the last block started.
    const OversamplingDesign& design() const noexcept { return mDesign; }

    // ---- paths (tests) -----------------------------------------------------

    /// [ui, not while processing] Runs the wide parts (oversampled loop,
    /// section coefficients) on `path`, one CanRunChainPath allows; chains
    /// start on DefaultChainPath().
    void usePath(ChainPath path) noexcept;
    ChainPath path() const noexcept { return mOversampled.path(); }

private:
    static constexpr int kMaxFactor = 16;
    // Base samples per pass of the oversampled path; longer blocks take
    // several.
    static constexpr int kSegment = 512;

    bool stepSmoothers(int count) noexcept;
    bool computeCoefficients(int count, const SectionScales& scales) noexcept;
    void sleepThrough(double* const out[2], int frames) noexcept;
    /// Sets every signal state (the sections' histories and the oversampling filters') to zero.
    void clearStates() noexcept;
    void fallAsleepIfQuiet(double sampleRate) noexcept;
    /// True when every one of `count` input samples is zero.
    static bool allSilent(const double* inL, const double* inR, int count) noexcept;
    bool smoothersAtRest() const noexcept
    {
        return mBandSmoothers.atRest() && mPassSmoothers.atRest() && mLowShelfSmoother.atRest();
    }
    /// Where the trailing silence of `count` input samples begins.
    static int silentFrom(const double* inL, const double* inR, int count) noexcept;
    /// Counts the quiet samples at the end of `count` processed ones whose
    /// input is silent from `silentFrom` on.
    void followQuiet(const F64x2* y, int silentFrom, int count) noexcept;

    // Flattened: a section step left out of line would put its histories
    // back in memory.
    template <bool kAtRest>
    [[gnu::flatten]] void runSections(F64x2* v, int count) noexcept;
    void sections(const double* inL, const double* inR, double* outL, double* outR, int frames,
                  const SectionScales& scales, F64x2 mix, F64x2 gain) noexcept;

    // Smoothers that step equally often share a register, so one
    // instruction steps both.
    PositionSmoother<F64x2> mBandSmoothers; ///< lane 0 GainH, lane 1 GainM
    PositionSmoother<F64x2> mPassSmoothers; ///< lane 0 HPF, lane 1 the negated LPF
    PositionSmoother<double> mLowShelfSmoother;

    StereoSection<HighShelfSection::kOrder> mHighShelf;
    StereoSection<HighPassSection::kOrder> mHighPass;
    StereoSection<LowPassSection::kOrder> mLowPass;
    StereoSection<MidBellSection::kOrder> mMidBell;
    StereoSection<LowShelfSection::kOrder> mLowShelf;

    int mFactor = 0; ///< of the design in force; 0 before the first block
    OversamplingDesign mDesign;
    OversampledPath mOversampled;
    alignas(16) double mDecimated[kSegment][2] = {}; ///< the oversampled path's results, left and right

    long mQuietSamples = 0; ///< quiet samples up to the end of the last block, by the rule above
    bool mAsleep = true;    ///< states all zero, blocks of silence skipped
    bool mSlept = false;    ///< the last block was skipped

    static constexpr int kCoefficientRun = CoefficientRun::kLength;
    SectionPositions mPositions[kCoefficientRun];
    CoefficientRun mCoefficients;
};
