// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/BilinearScale.h"
#include "effect/SectionCoefficients.h"

/// High-frequency shelf (GainH), order 2, K = fs. Position p = 1 − smoothed
/// GainH: p = 0.5 is flat, p = 0 full boost, p = 1 full cut.
struct HighShelfSection {
    static constexpr int kOrder = 2;
    /// K as a multiple of the sample rate.
    static constexpr double kRateFactor = 1.0;
    /// α0 … α2, each {constant, ·p, ·p²}.
    static constexpr double kAlpha[3][3] = {
        {2.71081253402608e-06, 0.0, 0.0},
        {9.94187430766337e-07, 3.57814433010599e-09, -1.78908111027219e-09},
        {8.52914603788545e-11, 9.83988423539763e-10, -6.55997053143411e-10},
    };
    /// β0 … β2, each {constant, ·p, ·p²}.
    static constexpr double kBeta[3][3] = {
        {-2.25889373551206e-07, 0.0, 0.0},
        {9.93893862317057e-07, -2.98173973087592e-10, 1.49086986543796e-10},
        {4.13269126699403e-10, 3.27991370396351e-10, -6.55982740792703e-10},
    };

    /// [audio] Coefficients for position p in each lane.
    template <class L>
    static SectionCoefficients<kOrder, L> coefficients(L p, const BilinearScale& scale) noexcept
    {
        return SectionCoefficients<kOrder, L>::inPosition(kAlpha, kBeta, p, scale);
    }
};
