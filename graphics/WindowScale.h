// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/PixelRect.h"

/// How a window host maps editor pixels onto window pixels when the host
/// asks for a content scale: the panel keeps its layout and grows by the
/// factor. Pure functions, shared by every window host. [any]
namespace WindowScale {

/// `scale` as the window hosts take it: values below 1 or not finite are 1.
double Sanitized(double scale) noexcept;

/// Window pixels of an editor length (rounded up, so nothing is cut off).
int ScaledLength(int length, double scale) noexcept;

/// The window pixels that show editor `rect`: left and top rounded down,
/// right and bottom up.
PixelRect ScaledRect(const PixelRect& rect, double scale) noexcept;

/// The editor pixels a window `rect` shows (outward rounding).
PixelRect UnscaledRect(const PixelRect& rect, double scale) noexcept;

/// The editor pixel under window pixel `windowPixel` (one axis).
int ToEditor(int windowPixel, double scale) noexcept;

} // namespace WindowScale
