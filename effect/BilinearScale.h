// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/F64x2.h"

/// The bilinear constant K of s = K·(1 − z⁻¹)/(1 + z⁻¹) and its powers, in
/// both lanes. A section's K depends only on the sample rate, so the chain
/// builds these once per block.
struct BilinearScale {
    F64x2 k;
    F64x2 k2; ///< K·K
    F64x2 k3; ///< K·K·K

    /// [any] Powers of `constant` (Hz-scaled, e.g. fs or 2·fs).
    static BilinearScale of(double constant) noexcept
    {
        const double squared = constant * constant;
        return {F64x2(constant), F64x2(squared), F64x2(squared * constant)};
    }
};
