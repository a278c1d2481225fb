// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/SignalChain.h"

#include "effect/BilinearScale.h"
#include "effect/InputLimit.h"
#include "effect/ScopedDenormalFlush.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

constexpr double kTwoPi = 6.283185307179586;

} // namespace

void SignalChain::usePath(ChainPath path) noexcept
{
    mOversampled.usePath(path);
}

int SignalChain::tailSamples(double sampleRate) noexcept
{
    // Measured over every corner of the settings at 44.1 to 192 kHz: the
    // chain sleeps at most 2.0 s after full-scale noise and 4.9 s after a
    // full-scale DC held for seconds (the high shelf's slowest mode, which
    // the high-pass hides from the output, takes longest to fall quiet).
    constexpr double kTailSeconds = 6.0;
    return static_cast<int>(std::ceil(kTailSeconds * sampleRate));
}

void SignalChain::clearStates() noexcept
{
    mOversampled.reset();
    mHighShelf.reset();
    mHighPass.reset();
    mLowPass.reset();
    mMidBell.reset();
    mLowShelf.reset();
}

void SignalChain::reset(double /*sampleRate*/) noexcept
{
    // Every activation starts from silence, so that the same input gives the
    // same output however the instance was used before (and histories made
    // at another rate never meet this rate's coefficients, which rang up by
    // tens of decibels).
    clearStates();
    // A fresh start is at its settings: gliding there from wherever the
    // smoothers stood made the first half second up to 8 dB off.
    mBandSmoothers.snapAtNextBlock();
    mPassSmoothers.snapAtNextBlock();
    mLowShelfSmoother.snapAtNextBlock();
    mAsleep = true;
    mSlept = false;
    mQuietSamples = 0;
}

void SignalChain::process(const double* const in[2], double* const out[2], int frames,
                          const ChainSettings& settings) noexcept
{
    const ScopedDenormalFlush flush;
    const int factor = settings.oversampling == kMaxFactor ? kMaxFactor : 4;
    if (factor != mFactor) {
        // The 16x design's poles lie much nearer z = 1 than the 4x design's:
        // states carried from one into the other ring up by tens of
        // decibels, so a new factor starts from rest. The design depends on
        // the factor alone, so it is made again only when that changes.
        mOversampled.reset();
        mFactor = factor;
        mDesign = OversamplingDesign::forFactor(factor);
    }
    if (frames < 1)
        return;

    // Everything here depends on the block only: the settings are one whole
    // set, the same for every sample of the call.
    const double fs = settings.sampleRate;
    const double d = std::exp((1.0 / fs) * -kTwoPi);
    mBandSmoothers.beginBlock(F64x2(d), F64x2(settings.highShelf, settings.midBell));
    mPassSmoothers.beginBlock(F64x2(d), F64x2(settings.highPass, -settings.lowPass));
    mLowShelfSmoother.beginBlock(d, settings.lowShelf);
    mSlept = mAsleep && allSilent(in[0], in[1], frames);
    if (mSlept) {
        sleepThrough(out, frames);
        return;
    }

    const SectionScales scales{BilinearScale::of(fs * HighShelfSection::kRateFactor),
                             BilinearScale::of(fs * HighPassSection::kRateFactor),
                             BilinearScale::of(fs * LowPassSection::kRateFactor),
                             BilinearScale::of(fs * MidBellSection::kRateFactor),
                             BilinearScale::of(fs * LowShelfSection::kRateFactor)};

    mAsleep = false;
    const F64x2 mix(std::pow(10.0, -1.5));
    const F64x2 gain(settings.outputGain);
    for (int start = 0; start < frames; start += kSegment) {
        const int count = std::min(kSegment, frames - start);
        mOversampled.process({in[0] + start, in[1] + start, count, factor, &mDesign, mDecimated});
        sections(in[0] + start, in[1] + start, out[0] + start, out[1] + start, count, scales, mix, gain);
    }
    fallAsleepIfQuiet(fs);
}

// A block of silence while asleep: what a chain whose states are all zero
// would put out, and its smoothers step just the same.
void SignalChain::sleepThrough(double* const out[2], int frames) noexcept
{
    // Smoothers at rest would step to the same state.
    for (int run = 0; run < frames && !smoothersAtRest(); run += kCoefficientRun)
        stepSmoothers(std::min(kCoefficientRun, frames - run));
    std::fill(out[0], out[0] + frames, 0.0);
    std::fill(out[1], out[1] + frames, 0.0);
}

// No early exit, so that the compiler can widen it: the question is asked
// only while asleep, where the answer is mostly yes.
bool SignalChain::allSilent(const double* inL, const double* inR, int count) noexcept
{
    // The magnitudes' bits: zero for +0 and -0 only.
    std::uint64_t bits = 0;
    for (int i = 0; i < count; ++i) {
        std::uint64_t l, r;
        std::memcpy(&l, &inL[i], sizeof l);
        std::memcpy(&r, &inR[i], sizeof r);
        bits |= (l | r) << 1;
    }
    return bits == 0;
}

// From the end back to the last sample that is not quiet: one look in music,
// where the last sample never is.
int SignalChain::silentFrom(const double* inL, const double* inR, int count) noexcept
{
    int k = count;
    while (k > 0 && inL[k - 1] == 0.0 && inR[k - 1] == 0.0)
        --k;
    return k;
}

void SignalChain::followQuiet(const F64x2* y, int silentFrom, int count) noexcept
{
    const F64x2 level(kQuietLevel);
    int k = count;
    while (k > silentFrom && y[k - 1].magnitudeBelow(level))
        --k;
    mQuietSamples = k == 0 ? mQuietSamples + count : count - k;
}

void SignalChain::fallAsleepIfQuiet(double sampleRate) noexcept
{
    if (mQuietSamples < std::ceil(kQuietSeconds * sampleRate) || !mHighShelf.below(kQuietLevel) ||
        !mHighPass.below(kQuietLevel) || !mLowPass.below(kQuietLevel) || !mMidBell.below(kQuietLevel) ||
        !mLowShelf.below(kQuietLevel))
        return;
    clearStates();
    mAsleep = true;
}

// Mix, sections and output gain for `frames` samples whose decimated results
// are in mDecimated.
void SignalChain::sections(const double* inL, const double* inR, double* outL, double* outR, int frames,
                           const SectionScales& scales, F64x2 mix, F64x2 gain) noexcept
{
    for (int run = 0; run < frames; run += kCoefficientRun) {
        const int count = std::min(kCoefficientRun, frames - run);
        const bool atRest = computeCoefficients(count, scales);

        // Read before in-place outputs overwrite the input.
        const int silence = silentFrom(inL + run, inR + run, count);
        F64x2 v[kCoefficientRun];
        for (int k = 0; k < count; ++k)
            v[k] = F64x2(SaneInput(inL[run + k]), SaneInput(inR[run + k])) +
                   mix * F64x2(mDecimated[run + k][0], mDecimated[run + k][1]);
        if (atRest)
            runSections<true>(v, count);
        else
            runSections<false>(v, count);

        for (int k = 0; k < count; ++k) {
            const int n = run + k;
            v[k] = v[k] * gain;
            outL[n] = v[k].left();
            outR[n] = v[k].right();
        }
        followQuiet(v, silence, count);
    }
}

// The five sections over `count` samples. Section s handles sample k − s in
// pass k, so the five recursions of a pass are independent of each other and
// can overlap. At rest every sample takes coefficient set 0.
template <bool kAtRest>
void SignalChain::runSections(F64x2* v, int count) noexcept
{
    // Local copies: the stores into v cannot alias them, so the histories
    // and coefficients stay in registers from sample to sample.
    StereoSection<HighShelfSection::kOrder> highShelf = mHighShelf;
    StereoSection<HighPassSection::kOrder> highPass = mHighPass;
    StereoSection<LowPassSection::kOrder> lowPass = mLowPass;
    StereoSection<MidBellSection::kOrder> midBell = mMidBell;
    StereoSection<LowShelfSection::kOrder> lowShelf = mLowShelf;
    const CoefficientRun& c = mCoefficients;
    const auto at = [](int k) { return kAtRest ? 0 : k; };
    // `step(section, coefficients, x)` runs one section on one sample.
    const auto pass = [&](int p, bool checked, const auto& step) {
        const auto due = [&](int k) { return !checked || (k >= 0 && k < count); };
        // One finiteness test for the whole pass: y·0 is 0 for a finite y and
        // NaN otherwise, and a NaN survives the sum. Only a bad pass looks at
        // each section's result again.
        const F64x2 zero(0.0);
        F64x2 probe = zero;
        if (due(p))
            probe += zero * (v[p] = step(highShelf, c.highShelf[at(p)], v[p]));
        if (due(p - 1))
            probe += zero * (v[p - 1] = step(highPass, c.highPass[at(p - 1)], v[p - 1]));
        if (due(p - 2))
            probe += zero * (v[p - 2] = step(lowPass, c.lowPass[at(p - 2)], v[p - 2]));
        if (due(p - 3))
            probe += zero * (v[p - 3] = step(midBell, c.midBell[at(p - 3)], v[p - 3]));
        if (due(p - 4))
            probe += zero * (v[p - 4] = step(lowShelf, c.lowShelf[at(p - 4)], v[p - 4]));
        if (probe.finiteMask() != 3) [[unlikely]] {
            const auto restart = [&](auto& section, int k) {
                if (due(k) && v[k].finiteMask() != 3)
                    v[k] = section.restartWhereNot(v[k].finiteMask(), v[k]);
            };
            restart(highShelf, p);
            restart(highPass, p - 1);
            restart(lowPass, p - 2);
            restart(midBell, p - 3);
            restart(lowShelf, p - 4);
        }
    };
    const auto shifting = [](auto& section, const auto& coefficients, F64x2 x) {
        return section.process(coefficients, x);
    };
    const auto ringPass = [&](int p, auto phase) {
        pass(p, false, [](auto& section, const auto& coefficients, F64x2 x) {
            return section.template processInRing<decltype(phase)::value>(coefficients, x);
        });
    };
    // Passes 4 … count − 1 have every section due; the first and last four
    // fill and drain the pipeline. The due passes go six at a time, their
    // histories as rings, so that the histories stay where they are.
    int p = 0;
    for (; p < 4 && p < count + 4; ++p)
        pass(p, true, shifting);
    for (; p + 6 <= count; p += 6) {
        ringPass(p, std::integral_constant<int, 0>());
        ringPass(p + 1, std::integral_constant<int, 1>());
        ringPass(p + 2, std::integral_constant<int, 2>());
        ringPass(p + 3, std::integral_constant<int, 3>());
        ringPass(p + 4, std::integral_constant<int, 4>());
        ringPass(p + 5, std::integral_constant<int, 5>());
    }
    for (; p < count; ++p)
        pass(p, false, shifting);
    for (; p < count + 4; ++p)
        pass(p, true, shifting);
    mHighShelf = highShelf;
    mHighPass = highPass;
    mLowPass = lowPass;
    mMidBell = midBell;
    mLowShelf = lowShelf;
}

// Smoothed positions and section coefficients for the next `count` samples.
// Coefficients depend on nothing but the positions and the block's sample
// rate: once every smoother has come to rest, all samples of the run share
// one set, computed once (the result is true then, and only index 0 is
// filled).
bool SignalChain::computeCoefficients(int count, const SectionScales& scales) noexcept
{
    const bool atRest = stepSmoothers(count);
    mOversampled.kernels().coefficients(mPositions, atRest ? 1 : count, scales, mCoefficients);
    return atRest;
}

// Steps the smoothers over `count` samples and keeps their positions in
// mPositions: only the first sample's when they are at rest (true then).
bool SignalChain::stepSmoothers(int count) noexcept
{
    // Local copies keep the smoothers' states in registers: stores into the
    // position array could otherwise alias them.
    PositionSmoother<F64x2> bands = mBandSmoothers, passes = mPassSmoothers;
    PositionSmoother<double> lowShelf = mLowShelfSmoother;
    const bool atRest = smoothersAtRest();
    const int samples = atRest ? 1 : count;
    for (int k = 0; k < samples; ++k) {
        // Each smoother steps once per channel (HPF and LPF twice), left
        // first; the coefficient kernels form the positions from the states.
        SectionPositions& p = mPositions[k];
        bands.step().store(p.bands[0]);
        bands.step().store(p.bands[1]);
        for (double(&pass)[2] : p.passes)
            passes.step().store(pass);
        p.lowShelf[0] = lowShelf.step();
        p.lowShelf[1] = lowShelf.step();
    }
    mBandSmoothers = bands;
    mPassSmoothers = passes;
    mLowShelfSmoother = lowShelf;
    return atRest;
}
