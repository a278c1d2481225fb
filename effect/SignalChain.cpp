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
//
// The down filter only ever sees shaper outputs (|s| < 1) and its own
// flushed history, so its sums stay finite. So do the up filter's while the
// chunk's input and the filter's history are moderate, as audio always is;
// both then use the cheaper flush that does not test for infinities.
template <int kFactor>
void SignalChain::upAndDown(const double* inL, const double* inR, int upFrames, const F64x2* shaped, int downFrames,
                            const RecursiveFilter::Taps& taps) noexcept
{
    constexpr double kModerate = 1e289; // ten times it stays below 1e290
    bool moderate = mUp.historyBelow(10 * kModerate);
    for (int t = 0; t < upFrames && moderate; ++t)
        moderate = std::fabs(inL[t]) < kModerate && std::fabs(inR[t]) < kModerate;
    if (moderate)
        upAndDown<kFactor, RecursiveFilter::Range::Bounded>(inL, inR, upFrames, shaped, downFrames, taps);
    else
        upAndDown<kFactor, RecursiveFilter::Range::Any>(inL, inR, upFrames, shaped, downFrames, taps);
}

template <int kFactor, RecursiveFilter::Range kUpRange>
void SignalChain::upAndDown(const double* inL, const double* inR, int upFrames, const F64x2* shaped, int downFrames,
                            const RecursiveFilter::Taps& taps) noexcept
{
    using Range = RecursiveFilter::Range;
    const F64x2 drive(std::pow(10.0, 1.0));
    // The newest output of each filter stays in a register between steps.
    F64x2 upNewest = mUp.past(1);
    F64x2 downNewest = mDown.past(1);
    const auto upFirst = [&](int t) {
        upNewest = mUp.step<kUpRange>(taps, t * kFactor, drive * F64x2(inL[t], inR[t]), upNewest);
    };
    const auto upRest = [&](int i) { upNewest = mUp.stepSilent<kUpRange>(taps, i, upNewest); };
    const auto down = [&](int i) {
        downNewest = mDown.step<Range::Bounded>(taps, i, shaped[i], downNewest);
        return downNewest;
    };

    // Step by step in lockstep where both run; the other sub-samples of the
    // down filter only advance it.
    const int both = std::min(upFrames, downFrames);
    for (int t = 0; t < both; ++t) {
        const int i = t * kFactor;
        upFirst(t);
        mDecimated[t] = down(i);
        for (int j = 1; j < kFactor; ++j) {
            upRest(i + j);
            down(i + j);
        }
    }
    for (int t = both; t < upFrames; ++t) {
        upFirst(t);
        for (int j = 1; j < kFactor; ++j)
            upRest(t * kFactor + j);
    }
    for (int t = both; t < downFrames; ++t) {
        mDecimated[t] = down(t * kFactor);
        for (int j = 1; j < kFactor; ++j)
            down(t * kFactor + j);
    }
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
            shaped[i] = Waveshaper::shapeScaled(up[i], kFactor);
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
// are in mDecimated; Bypass is read once for every sample and only chooses
// between that result and the input.
void SignalChain::sections(const double* inL, const double* inR, double* outL, double* outR, int frames,
                           const BlockScales& scales, F64x2 mix, F64x2 gain, const IBypassSource& bypass) noexcept
{
    for (int run = 0; run < frames; run += kCoefficientRun) {
        const int count = std::min(kCoefficientRun, frames - run);
        const bool atRest = computeCoefficients(count, scales);
        const auto coefficient = [atRest](int k) { return atRest ? 0 : k; };

        F64x2* v = mSectionValues;
        for (int k = 0; k < count; ++k)
            v[k] = F64x2(inL[run + k], inR[run + k]) + mix * mDecimated[run + k];

        // Section s handles sample k − s in pass k, so the five recursions of
        // a pass are independent of each other and can overlap. Bypassed
        // samples run through the sections too: histories that stood still
        // while the coefficients glided on would ring out in a loud burst
        // when Bypass ends. Only their output is the input, copied exactly.
        for (int pass = 0; pass < count + 4; ++pass) {
            const auto due = [&](int stage) {
                const int k = pass - stage;
                return k >= 0 && k < count;
            };
            if (due(0))
                v[pass] = mHighShelf.process(mCoefficients.highShelf[coefficient(pass)], v[pass]);
            if (due(1))
                v[pass - 1] = mHighPass.process(mCoefficients.highPass[coefficient(pass - 1)], v[pass - 1]);
            if (due(2))
                v[pass - 2] = mLowPass.process(mCoefficients.lowPass[coefficient(pass - 2)], v[pass - 2]);
            if (due(3))
                v[pass - 3] = mMidBell.process(mCoefficients.midBell[coefficient(pass - 3)], v[pass - 3]);
            if (due(4))
                v[pass - 4] = mLowShelf.process(mCoefficients.lowShelf[coefficient(pass - 4)], v[pass - 4]);
        }

        for (int k = 0; k < count; ++k) {
            const int n = run + k;
            if (bypassed(bypass.BypassValue())) {
                outL[n] = inL[n];
                outR[n] = inR[n];
            } else {
                const F64x2 y = v[k] * gain;
                outL[n] = y.left();
                outR[n] = y.right();
            }
        }
    }
}

// Smoothed positions and section coefficients for the next `count` samples.
// Every sample's positions are stepped, bypassed or not, as the smoothers
// glide either way. Coefficients depend on nothing but the positions and the
// block's sample rate: once every smoother has come to rest, all samples of
// the run share one set, computed once (the result is true then, and only
// index 0 is filled).
bool SignalChain::computeCoefficients(int count, const BlockScales& scales) noexcept
{
    // Local copies keep the smoothers' states in registers: stores into the
    // coefficient arrays could otherwise alias them.
    PositionSmoother highShelf = mHighShelfSmoother, highPass = mHighPassSmoother, lowPass = mLowPassSmoother,
                     midBell = mMidBellSmoother, lowShelf = mLowShelfSmoother;
    const bool atRest =
        highShelf.atRest() && highPass.atRest() && lowPass.atRest() && midBell.atRest() && lowShelf.atRest();
    const F64x2 one(1.0);
    for (int k = 0; k < (atRest ? 1 : count); ++k) {
        // Each smoother steps once per channel (HPF and LPF twice), left first.
        const double h1 = highShelf.step();
        const double h2 = highShelf.step();
        const double f1 = highPass.step();
        const double f2 = highPass.step();
        const double f3 = highPass.step();
        const double f4 = highPass.step();
        const double g1 = lowPass.step();
        const double g2 = lowPass.step();
        const double g3 = lowPass.step();
        const double g4 = lowPass.step();
        const double m1 = midBell.step();
        const double m2 = midBell.step();
        const double l1 = lowShelf.step();
        const double l2 = lowShelf.step();

        mCoefficients.highShelf[k] = HighShelfSection::coefficients(one - F64x2(h1, h2), scales.highShelf);
        mCoefficients.highPass[k] =
            HighPassSection::coefficients(one - F64x2(f2, f4), one - F64x2(f1, f3), scales.highPass);
        mCoefficients.lowPass[k] = LowPassSection::coefficients(F64x2(g2, g4), F64x2(g1, g3), scales.lowPass);
        mCoefficients.midBell[k] = MidBellSection::coefficients(one - F64x2(m1, m2), scales.midBell);
        mCoefficients.lowShelf[k] = LowShelfSection::coefficients(one - F64x2(l1, l2), scales.lowShelf);
    }
    mHighShelfSmoother = highShelf;
    mHighPassSmoother = highPass;
    mLowPassSmoother = lowPass;
    mMidBellSmoother = midBell;
    mLowShelfSmoother = lowShelf;
    return atRest;
}
