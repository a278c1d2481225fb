// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/F64x2.h"

/// The static, odd-symmetric saturation curve of the oversampled path, run on
/// both lanes. Close to 0.599·w for small inputs, clipping at ±0.833333313
/// from |w| ≈ 1.4. A NaN, and a magnitude too large for a 32-bit table index
/// (about 1.5e7 and up), give a zero of the input's sign.
class Waveshaper {
public:
    /// [audio] Shapes one value per lane.
    static F64x2 shape(F64x2 w) noexcept;
};
