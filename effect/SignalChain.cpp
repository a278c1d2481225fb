// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/SignalChain.h"

#include "effect/BilinearScale.h"
#include "effect/ScopedDenormalFlush.h"
#include "effect/Waveshaper.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Bypass is on when the value truncated toward zero is not 0; a NaN never
// reaches a parameter, but reads as "in" rather than as undefined behaviour.
inline bool bypassed(double value) noexcept { return value >= 1.0 || value <= -1.0; }

} // namespace

void SignalChain::reset() noexcept
{
    mUp.reset();
    mDown.reset();
}

void SignalChain::process(const double* const in[2], double* const out[2], int frames,
                          const ChainSettings& settings, const IBypassSource& bypass) noexcept
{
    const ScopedDenormalFlush flush;
    const int factor = settings.oversampling == kMaxFactor ? kMaxFactor : 4;
    mDesign = OversamplingDesign::forFactor(factor);
    if (frames < 1)
        return;
    if (factor == kMaxFactor)
        run<kMaxFactor>(in, out, frames, settings, bypass);
    else
        run<4>(in, out, frames, settings, bypass);
}

// The oversampled path of a chunk of base samples, for both channels at once.
// The up filter of base sample t runs interleaved with the down filter of
// sample t − 1: the two recursions are independent there, so the processor
// can overlap them. Shaper outputs wait in mShaped in between.
template <int kFactor>
void SignalChain::oversampleChunk(const double* inL, const double* inR, int frames,
                                  const RecursiveFilter::Taps& taps) noexcept
{
    const F64x2 drive(std::pow(10.0, 1.0));
    const F64x2 factor(static_cast<double>(kFactor));

    // The newest output of each filter stays in a register between steps.
    F64x2 upNewest = mUp.past(1);
    F64x2 downNewest = mDown.past(1);
    const auto up = [&](int t, int j) {
        const int i = t * kFactor + j;
        upNewest = j == 0 ? mUp.step(taps, i, drive * F64x2(inL[t], inR[t]), upNewest)
                          : mUp.stepSilent(taps, i, upNewest);
        mShaped[i] = Waveshaper::shape(factor * upNewest);
    };
    const auto down = [&](int t, int j) {
        const int i = t * kFactor + j;
        downNewest = mDown.step(taps, i, mShaped[i], downNewest);
        if (j == 0)
            mDecimated[t] = downNewest; // the other sub-samples only advance the filter
    };

    for (int j = 0; j < kFactor; ++j)
        up(0, j);
    for (int t = 1; t < frames; ++t) {
        for (int j = 0; j < kFactor; ++j) {
            up(t, j);
            down(t - 1, j);
        }
    }
    for (int j = 0; j < kFactor; ++j)
        down(frames - 1, j);

    mUp.endChunk(frames * kFactor);
    mDown.endChunk(frames * kFactor);
}

template <int kFactor>
void SignalChain::run(const double* const in[2], double* const out[2], int frames, const ChainSettings& settings,
                      const IBypassSource& bypass) noexcept
{
    constexpr int kChunkFrames = RecursiveFilter::kChunk / kFactor;

    // Everything here depends on the block only: the sample rate and the
    // working values cannot change while the plug-in lock is held.
    const F64x2 mix(std::pow(10.0, -1.5));
    const F64x2 gain(settings.outputGain);
    const RecursiveFilter::Taps taps = RecursiveFilter::Taps::from(mDesign);

    const double fs = settings.sampleRate;
    const double d = std::exp((1.0 / fs) * -kTwoPi);
    mHighShelfSmoother.beginBlock(d, settings.highShelf);
    mHighPassSmoother.beginBlock(d, settings.highPass);
    mLowPassSmoother.beginBlock(d, -settings.lowPass);
    mMidBellSmoother.beginBlock(d, settings.midBell);
    mLowShelfSmoother.beginBlock(d, settings.lowShelf);

    const BlockScales scales{BilinearScale::of(fs * HighShelfSection::kRateFactor),
                             BilinearScale::of(fs * HighPassSection::kRateFactor),
                             BilinearScale::of(fs * LowPassSection::kRateFactor),
                             BilinearScale::of(fs * MidBellSection::kRateFactor),
                             BilinearScale::of(fs * LowShelfSection::kRateFactor)};

    for (int start = 0; start < frames; start += kChunkFrames) {
        const int count = std::min(kChunkFrames, frames - start);
        oversampleChunk<kFactor>(in[0] + start, in[1] + start, count, taps);

        for (int run = 0; run < count; run += kCoefficientRun) {
            const int runCount = std::min(kCoefficientRun, count - run);
            computeCoefficients(runCount, scales);

            const double* inL = in[0] + start + run;
            const double* inR = in[1] + start + run;
            double* outL = out[0] + start + run;
            double* outR = out[1] + start + run;
            const F64x2* decimated = mDecimated + run;
            for (int k = 0; k < runCount; ++k) {
                const F64x2 dry(inL[k], inR[k]);
                if (bypassed(bypass.BypassValue())) {
                    // Exact copies; the sections keep their histories frozen.
                    outL[k] = dry.left();
                    outR[k] = dry.right();
                    continue;
                }
                F64x2 x = dry + mix * decimated[k];
                x = mHighShelf.process(mCoefficients.highShelf[k], x);
                x = mHighPass.process(mCoefficients.highPass[k], x);
                x = mLowPass.process(mCoefficients.lowPass[k], x);
                x = mMidBell.process(mCoefficients.midBell[k], x);
                x = mLowShelf.process(mCoefficients.lowShelf[k], x);
                x = x * gain;
                outL[k] = x.left();
                outR[k] = x.right();
            }
        }
    }
}

// Smoothed positions and section coefficients for the next `count` samples.
// Every sample's coefficients are computed, bypassed or not, as the smoothers
// keep gliding either way.
void SignalChain::computeCoefficients(int count, const BlockScales& scales) noexcept
{
    const F64x2 one(1.0);
    for (int k = 0; k < count; ++k) {
        // Each smoother steps once per channel (HPF and LPF twice), left first.
        const double h1 = mHighShelfSmoother.step();
        const double h2 = mHighShelfSmoother.step();
        const double f1 = mHighPassSmoother.step();
        const double f2 = mHighPassSmoother.step();
        const double f3 = mHighPassSmoother.step();
        const double f4 = mHighPassSmoother.step();
        const double g1 = mLowPassSmoother.step();
        const double g2 = mLowPassSmoother.step();
        const double g3 = mLowPassSmoother.step();
        const double g4 = mLowPassSmoother.step();
        const double m1 = mMidBellSmoother.step();
        const double m2 = mMidBellSmoother.step();
        const double l1 = mLowShelfSmoother.step();
        const double l2 = mLowShelfSmoother.step();

        mCoefficients.highShelf[k] = HighShelfSection::coefficients(one - F64x2(h1, h2), scales.highShelf);
        mCoefficients.highPass[k] =
            HighPassSection::coefficients(one - F64x2(f2, f4), one - F64x2(f1, f3), scales.highPass);
        mCoefficients.lowPass[k] = LowPassSection::coefficients(F64x2(g2, g4), F64x2(g1, g3), scales.lowPass);
        mCoefficients.midBell[k] = MidBellSection::coefficients(one - F64x2(m1, m2), scales.midBell);
        mCoefficients.lowShelf[k] = LowShelfSection::coefficients(one - F64x2(l1, l2), scales.lowShelf);
    }
}
