// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// A colour as four components, each 0..255. [any]
struct ArgbColor {
    int A = 255;
    int R = 0;
    int G = 0;
    int B = 0;

    constexpr ArgbColor() noexcept = default;
    constexpr ArgbColor(int a, int r, int g, int b) noexcept : A(a), R(r), G(g), B(b) {}

    /// The raster pixel word 0xAARRGGBB, alpha in the high byte.
    constexpr uint32_t Packed() const noexcept
    {
        return (uint32_t(A & 0xFF) << 24) | (uint32_t(R & 0xFF) << 16) | (uint32_t(G & 0xFF) << 8)
               | uint32_t(B & 0xFF);
    }
};
