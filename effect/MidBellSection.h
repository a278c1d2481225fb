// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/BilinearScale.h"
#include "effect/SectionCoefficients.h"

/// Mid-frequency bell (GainM) centred near 2.5 kHz, order 3, K = fs. Position
/// p = 1 − smoothed GainM, 0.5 flat.
struct MidBellSection {
    static constexpr int kOrder = 3;
    /// K as a multiple of the sample rate.
    static constexpr double kRateFactor = 1.0;
    /// α0 … α3, each {constant, ·p, ·p²}.
    static constexpr double kAlpha[4][3] = {
        {9.76063114946011e-07, 0.0, 0.0},
        {3.57938069936691e-07, 1.52260390020654e-09, -7.61305756552751e-10},
        {1.9001829081179e-11, 4.18715533309788e-10, -2.79145718979582e-10},
        {5.58302603544311e-15, 0.0, 0.0},
    };
    /// β0 … β3, each {constant, ·p, ·p²}.
    static constexpr double kBeta[4][3] = {
        {-8.13343906353181e-08, 0.0, 0.0},
        {3.5786700481932e-07, -1.26881649391096e-10, 6.34408246955481e-11},
        {1.5855004026262e-10, 1.39569814330206e-10, -2.79139628660412e-10},
        {5.58279257320823e-15, 0.0, 0.0},
    };

    /// [audio] Coefficients for position p in each lane.
    template <class L>
    static SectionCoefficients<kOrder, L> coefficients(L p, const BilinearScale& scale) noexcept
    {
        return SectionCoefficients<kOrder, L>::inPosition(kAlpha, kBeta, p, scale);
    }
};
