// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/WindowScale.h"

#include <cmath>

namespace WindowScale {

double Sanitized(double scale) noexcept
{
    return std::isfinite(scale) && scale >= 1.0 ? scale : 1.0;
}

int ScaledLength(int length, double scale) noexcept { return int(std::ceil(length * scale)); }

PixelRect ScaledRect(const PixelRect& rect, double scale) noexcept
{
    return {int(std::floor(rect.L * scale)), int(std::floor(rect.T * scale)),
            int(std::ceil(rect.R * scale)), int(std::ceil(rect.B * scale))};
}

PixelRect UnscaledRect(const PixelRect& rect, double scale) noexcept
{
    return {int(std::floor(rect.L / scale)), int(std::floor(rect.T / scale)),
            int(std::ceil(rect.R / scale)), int(std::ceil(rect.B / scale))};
}

int ToEditor(int windowPixel, double scale) noexcept
{
    return int(std::floor(windowPixel / scale));
}

} // namespace WindowScale
