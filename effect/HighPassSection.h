// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/BilinearScale.h"
#include "effect/SectionCoefficients.h"

/// Sweepable third-order high-pass (HPF), K = 2·fs. Its two ganged
/// potentiometers take u = 1 − f2 and v = 1 − f1, f1 and f2 being two
/// successive smoothed HPF values. The numerator has a double zero at s = 0.
struct HighPassSection {
    static constexpr int kOrder = 3;
    /// K as a multiple of the sample rate.
    static constexpr double kRateFactor = 2.0;
    /// α0 … α3, each {constant, ·v, ·u, ·u·v}.
    static constexpr double kAlpha[4][4] = {
        {1.52890709065889e-05, 0.0, 0.0, 0.0},
        {1.22317306769902e-09, 3.05781418131778e-07, -1.52884593559836e-07, 0.0},
        {9.77888736680688e-14, 1.25370320278968e-11, 1.19254783648923e-11, 1.52890709065889e-09},
        {1.86035554454432e-19, 2.38507121095426e-17, 2.38507121095426e-17, 3.05778360378751e-15},
    };
    /// β0 … β3, each {constant, ·v, ·u, ·u·v}.
    static constexpr double kBeta[4][4] = {
        {0.0, 0.0, 0.0, 0.0},
        {0.0, 0.0, 0.0, 0.0},
        {9.30159168995765e-14, 1.19251175512278e-11, 1.19251175512278e-11, 1.52886122451638e-09},
        {9.30159168995765e-20, 1.19251175512278e-17, 1.19251175512278e-17, 1.52886122451638e-15},
    };

    /// [audio] Coefficients for positions u and v in each lane.
    template <class L>
    static SectionCoefficients<kOrder, L> coefficients(L u, L v, const BilinearScale& scale) noexcept
    {
        return SectionCoefficients<kOrder, L>::inPair(kAlpha, kBeta, u, v, scale);
    }
};
