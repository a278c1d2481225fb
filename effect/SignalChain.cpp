// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/SignalChain.h"

#include "effect/BilinearScale.h"
#include "effect/ScopedDenormalFlush.h"
#include "effect/Waveshaper.h"

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
    // The effect only ever asks for 4 or 16; anything below 1 would divide by
    // zero in the design, so it runs without oversampling instead.
    const int factor = settings.oversampling >= 1 ? settings.oversampling : 1;
    mDesign = OversamplingDesign::forFactor(factor);
    if (frames < 1)
        return;
    switch (factor) {
    case 4: run<4>(in, out, frames, settings, bypass, 4); break;
    case 16: run<16>(in, out, frames, settings, bypass, 16); break;
    default: run<0>(in, out, frames, settings, bypass, factor); break;
    }
}

template <int kFixedFactor>
void SignalChain::run(const double* const in[2], double* const out[2], int frames, const ChainSettings& settings,
                      const IBypassSource& bypass, int runtimeFactor) noexcept
{
    // A constant factor lets the compiler unroll the sub-sample loop.
    const int factor = kFixedFactor != 0 ? kFixedFactor : runtimeFactor;

    // Everything below depends on the block only: the sample rate and the
    // working values cannot change while the plug-in lock is held.
    const F64x2 drive(std::pow(10.0, 1.0));
    const F64x2 mix(std::pow(10.0, -1.5));
    const F64x2 gain(settings.outputGain);
    const F64x2 one(1.0);
    const F64x2 factorLanes(static_cast<double>(factor));
    const RecursiveFilter::Taps taps = RecursiveFilter::Taps::from(mDesign);

    const double fs = settings.sampleRate;
    const double d = std::exp((1.0 / fs) * -kTwoPi);
    mHighShelfSmoother.beginBlock(d, settings.highShelf);
    mHighPassSmoother.beginBlock(d, settings.highPass);
    mLowPassSmoother.beginBlock(d, -settings.lowPass);
    mMidBellSmoother.beginBlock(d, settings.midBell);
    mLowShelfSmoother.beginBlock(d, settings.lowShelf);

    const BilinearScale highShelfScale = BilinearScale::of(fs * HighShelfSection::kRateFactor);
    const BilinearScale highPassScale = BilinearScale::of(fs * HighPassSection::kRateFactor);
    const BilinearScale lowPassScale = BilinearScale::of(fs * LowPassSection::kRateFactor);
    const BilinearScale midBellScale = BilinearScale::of(fs * MidBellSection::kRateFactor);
    const BilinearScale lowShelfScale = BilinearScale::of(fs * LowShelfSection::kRateFactor);

    const double* inL = in[0];
    const double* inR = in[1];
    double* outL = out[0];
    double* outR = out[1];

    for (int k = 0; k < frames; ++k) {
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

        const auto highShelf = HighShelfSection::coefficients(one - F64x2(h1, h2), highShelfScale);
        const auto highPass = HighPassSection::coefficients(one - F64x2(f2, f4), one - F64x2(f1, f3), highPassScale);
        const auto lowPass = LowPassSection::coefficients(F64x2(g2, g4), F64x2(g1, g3), lowPassScale);
        const auto midBell = MidBellSection::coefficients(one - F64x2(m1, m2), midBellScale);
        const auto lowShelf = LowShelfSection::coefficients(one - F64x2(l1, l2), lowShelfScale);

        // Oversampled path: zero-stuffed interpolation, shaper, decimation by
        // keeping the first sub-sample; the rest only advance the filters.
        const F64x2 dry(inL[k], inR[k]);
        F64x2 up = mUp.step(taps, drive * dry);
        const F64x2 decimated = mDown.step(taps, Waveshaper::shape(factorLanes * up));
        for (int j = 1; j < factor; ++j) {
            up = mUp.stepSilent(taps);
            mDown.step(taps, Waveshaper::shape(factorLanes * up));
        }
        mDecimated = decimated;

        if (!bypassed(bypass.BypassValue())) {
            F64x2 x = dry + mix * decimated;
            x = mHighShelf.process(highShelf, x);
            x = mHighPass.process(highPass, x);
            x = mLowPass.process(lowPass, x);
            x = mMidBell.process(midBell, x);
            x = mLowShelf.process(lowShelf, x);
            x = x * gain;
            outL[k] = x.left();
            outR[k] = x.right();
        } else {
            // Exact copies; the sections keep their histories frozen.
            outL[k] = dry.left();
            outR[k] = dry.right();
        }
    }
}
