// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The bilinear constant K of s = K·(1 − z⁻¹)/(1 + z⁻¹) and its powers. A
/// section's K depends only on the sample rate, so the chain builds these
/// once per block.
struct BilinearScale {
    double k;
    double k2; ///< K·K
    double k3; ///< K·K·K

    /// [any] Powers of `constant` (Hz-scaled, e.g. fs or 2·fs).
    static BilinearScale of(double constant) noexcept
    {
        const double squared = constant * constant;
        return {constant, squared, squared * constant};
    }
};
