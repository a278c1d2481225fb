// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/BilinearScale.h"
#include "effect/SectionCoefficients.h"

/// Low-frequency shelf (GainL), order 3, K = fs. Position p = 1 − smoothed
/// GainL, 0.5 flat.
struct LowShelfSection {
    static constexpr int kOrder = 3;
    /// K as a multiple of the sample rate.
    static constexpr double kRateFactor = 1.0;
    /// α0 … α3, each {constant, ·p, ·p²}.
    static constexpr double kAlpha[4][3] = {
        {1.22490721224026e-10, 0.0, 0.0},
        {6.56405548817487e-11, 2.30274304535903e-10, -1.15137727944598e-10},
        {7.62293019589732e-12, 6.33253521931818e-11, -4.2217208489666e-11},
        {8.44361056308283e-15, 0.0, 0.0},
    };
    /// β0 … β3, each {constant, ·p, ·p²}.
    static constexpr double kBeta[4][3] = {
        {-1.0207032738644e-11, 0.0, 0.0},
        {4.31839141106551e-11, -1.91892215486508e-11, 9.59461077432538e-12},
        {2.87051565146267e-11, 2.11081437035158e-11, -4.22162874070317e-11},
        {8.44325748140633e-15, 0.0, 0.0},
    };

    /// [audio] Coefficients for position p in each lane.
    template <class L>
    static SectionCoefficients<kOrder, L> coefficients(L p, const BilinearScale& scale) noexcept
    {
        return SectionCoefficients<kOrder, L>::inPosition(kAlpha, kBeta, p, scale);
    }
};
