// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/BilinearScale.h"
#include "effect/SectionCoefficients.h"

/// Sweepable second-order low-pass (LPF), K = fs/2. Its two ganged
/// potentiometers take u = g2 and v = g1, two successive smoothed values of
/// the negated LPF parameter (0 = fully open … 0.3 = lowest corner). The
/// numerator is a constant.
struct LowPassSection {
    static constexpr int kOrder = 2;
    /// K as a multiple of the sample rate.
    static constexpr double kRateFactor = 0.5;
    /// α0 … α2, each {constant, ·v, ·u, ·u·v}.
    static constexpr double kAlpha[3][4] = {
        {0.000293230378280438, 0.0, 0.0, 0.0},
        {5.4893801785915e-09, 3.51890235626487e-07, 3.51876453936525e-07, 0.0},
        {1.00618368250242e-13, 1.2899790801313e-11, 1.2899790801313e-11, 1.65381933350167e-09},
    };
    /// β0 … β2, each {constant, ·v, ·u, ·u·v}.
    static constexpr double kBeta[3][4] = {
        {0.000293227446005978, 0.0, 0.0, 0.0},
        {0.0, 0.0, 0.0, 0.0},
        {0.0, 0.0, 0.0, 0.0},
    };

    /// [audio] Coefficients for positions u and v in each lane.
    template <class L>
    static SectionCoefficients<kOrder, L> coefficients(L u, L v, const BilinearScale& scale) noexcept
    {
        return SectionCoefficients<kOrder, L>::inPair(kAlpha, kBeta, u, v, scale);
    }
};
