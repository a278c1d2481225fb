// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/BilinearScale.h"
#include "effect/HighPassSection.h"
#include "effect/HighShelfSection.h"
#include "effect/LowPassSection.h"
#include "effect/LowShelfSection.h"
#include "effect/MidBellSection.h"
#include "effect/SectionCoefficients.h"

/// The positions the ten sections take in one sample, left then right: p for
/// the shelves and the bell, u and v for the high-pass and the low-pass.
/// [audio] Value type.
struct alignas(16) SectionPositions {
    double highShelf[2];
    double highPassU[2];
    double highPassV[2];
    double lowPassU[2];
    double lowPassV[2];
    double midBell[2];
    double lowShelf[2];
};

/// The bilinear scales of the five sections; they depend on the sample rate
/// only. [audio] Value type.
struct SectionScales {
    BilinearScale highShelf, highPass, lowPass, midBell, lowShelf;
};

/// Section coefficients of a run of samples, one set per sample, computed
/// ahead of the sections so that the independent coefficient work is not
/// held up behind the sections' sample-to-sample recursion. [audio]
struct CoefficientRun {
    static constexpr int kLength = 32;
    SectionCoefficients<HighShelfSection::kOrder> highShelf[kLength];
    SectionCoefficients<HighPassSection::kOrder> highPass[kLength];
    SectionCoefficients<LowPassSection::kOrder> lowPass[kLength];
    SectionCoefficients<MidBellSection::kOrder> midBell[kLength];
    SectionCoefficients<LowShelfSection::kOrder> lowShelf[kLength];
};
