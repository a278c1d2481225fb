// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ReferenceSection.h"
#include "ReferenceTenTapFilter.h"
#include "effect/ChainSettings.h"

#include <cmath>

/// The oracle: a plain scalar model of the whole stereo chain that does each
/// step as described, in the described order, for every sample (five
/// exponentials, ten coefficient sets, left before right). The product's
/// SignalChain must agree with it. Test and benchmark code only.
class ReferenceChain {
public:
    /// Clears the four oversampling filters and the ten sections' histories
    /// at any rate; at the first sample of the next block of at least one
    /// frame each smoother is set to its target before it steps.
    void reset(double sampleRate);

    /// Same contract as SignalChain::process: a new factor clears the four
    /// oversampling filters before the block.
    void process(const double* const in[2], double* const out[2], int frames, const ChainSettings& settings);

    /// The largest magnitude among the ten sections' histories.
    double largestHistory() const;

    /// An input sample beyond ±2^20 enters the chain as a NaN would.
    static double admitted(double x) { return std::fabs(x) > 0x1p20 ? std::nan("") : x; }

private:
    void clearOversampling();

    struct Smoother {
        double oneMinusD = 1.0;
        double d = 0.0;
        double state = 0.0;
        double step(double target)
        {
            state = d * state + oneMinusD * target;
            return state;
        }
    };

    Smoother mHighShelfSmoother, mHighPassSmoother, mLowPassSmoother, mMidBellSmoother, mLowShelfSmoother;
    ReferenceSection mHighShelf[2], mHighPass[2], mLowPass[2], mMidBell[2], mLowShelf[2];
    bool mStartAtTargets = false;
    int mFactor = 0; ///< of the last design
    double mG[2] = {};
    double mC[2][10] = {};
    ReferenceTenTapFilter mUp[2], mDown[2];
    double mDecimated[2] = {};
    double mDrive[2] = {};
};
