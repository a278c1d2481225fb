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

// One pass of the oversampled path for both channels: the up filter over a
// chunk of `upFrames` base samples, interleaved with the down filter over the
// previous chunk's `downFrames` shaped sub-samples (0 for none). The two
// recursions are independent, so the processor can overlap them; the shaper
// runs afterwards on the up filter's outputs, in a loop of its own.
template <int kFactor>
void SignalChain::upAndDown(const double* inL, const double* inR, int upFrames, const F64x2* shaped, int downFrames,
                            const RecursiveFilter::Taps& taps) noexcept
{
    const F64x2 drive(std::pow(10.0, 1.0));
    // The newest output of each filter stays in a register between steps.
    F64x2 upNewest = mUp.past(1);
    F64x2 downNewest = mDown.past(1);
    const auto up = [&](int t) {
        const int i = t * kFactor;
        upNewest = mUp.step(taps, i, drive * F64x2(inL[t], inR[t]), upNewest);
        for (int j = 1; j < kFactor; ++j)
            upNewest = mUp.stepSilent(taps, i + j, upNewest);
    };
    const auto down = [&](int t) {
        const int i = t * kFactor;
        downNewest = mDown.step(taps, i, shaped[i], downNewest);
        mDecimated[t] = downNewest; // the other sub-samples only advance the filter
        for (int j = 1; j < kFactor; ++j)
            downNewest = mDown.step(taps, i + j, shaped[i + j], downNewest);
    };

    const int both = std::min(upFrames, downFrames);
    for (int t = 0; t < both; ++t) {
        up(t);
        down(t);
    }
    for (int t = both; t < upFrames; ++t)
        up(t);
    for (int t = both; t < downFrames; ++t)
        down(t);
    if (downFrames > 0)
        mDown.endChunk(downFrames * kFactor);
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
    const F64x2 factor(static_cast<double>(kFactor));
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

    // Chunk c's up filter and shaper run together with chunk c − 1's down
    // filter and sections; the last chunk's down filter and sections follow.
    int previousStart = 0, previousFrames = 0, current = 0;
    for (int start = 0; start < frames; start += kChunkFrames) {
        const int count = std::min(kChunkFrames, frames - start);
        upAndDown<kFactor>(in[0] + start, in[1] + start, count, mShaped[1 - current], previousFrames, taps);

        const F64x2* up = mUp.chunkOutputs();
        F64x2* shaped = mShaped[current];
        for (int i = 0; i < count * kFactor; ++i)
            shaped[i] = Waveshaper::shape(factor * up[i]);
        mUp.endChunk(count * kFactor);

        if (previousFrames > 0)
            sections(in[0] + previousStart, in[1] + previousStart, out[0] + previousStart, out[1] + previousStart,
                     previousFrames, scales, mix, gain, bypass);
        previousStart = start;
        previousFrames = count;
        current = 1 - current;
    }
    upAndDown<kFactor>(nullptr, nullptr, 0, mShaped[1 - current], previousFrames, taps);
    sections(in[0] + previousStart, in[1] + previousStart, out[0] + previousStart, out[1] + previousStart,
             previousFrames, scales, mix, gain, bypass);
}

// Mix, sections and output gain for `frames` samples whose decimated results
// are in mDecimated; Bypass is read for every sample.
void SignalChain::sections(const double* inL, const double* inR, double* outL, double* outR, int frames,
                           const BlockScales& scales, F64x2 mix, F64x2 gain, const IBypassSource& bypass) noexcept
{
    for (int run = 0; run < frames; run += kCoefficientRun) {
        const int runCount = std::min(kCoefficientRun, frames - run);
        computeCoefficients(runCount, scales);
        for (int k = 0; k < runCount; ++k) {
            const int n = run + k;
            const F64x2 dry(inL[n], inR[n]);
            if (bypassed(bypass.BypassValue())) {
                // Exact copies; the sections keep their histories frozen.
                outL[n] = dry.left();
                outR[n] = dry.right();
                continue;
            }
            F64x2 x = dry + mix * mDecimated[n];
            x = mHighShelf.process(mCoefficients.highShelf[k], x);
            x = mHighPass.process(mCoefficients.highPass[k], x);
            x = mLowPass.process(mCoefficients.lowPass[k], x);
            x = mMidBell.process(mCoefficients.midBell[k], x);
            x = mLowShelf.process(mCoefficients.lowShelf[k], x);
            x = x * gain;
            outL[n] = x.left();
            outR[n] = x.right();
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
