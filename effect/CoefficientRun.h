// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/BilinearScale.h"
#include "effect/HighPassSection.h"
#include "effect/HighShelfSection.h"
#include "effect/LowPassSection.h"
#include "effect/LowShelfSection.h"
#include "effect/MidBellSection.h"
#include "effect/SectionCoefficients.h"

/// The smoothed states of one sample, as the smoothers give them, two to a
/// register: the chain stores whole registers, and the coefficient kernels
/// sort the lanes into left and right and form the positions (p = 1 − state
/// for the shelves and the bell, u and v for the high-pass and the low-pass).
/// [audio] Value type.
struct alignas(16) SectionPositions {
    double bands[2][2];  ///< {GainH, GainM}, the left channel's step, then the right's
    double passes[4][2]; ///< {HPF, negated LPF}: steps 1 and 2 for the left channel, 3 and 4 for the right
    double lowShelf[2];  ///< GainL, left then right
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
