// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/PixelRect.h"

#include <X11/Xlib.h>

#include <cstdint>

class PIX_IBitmap;

/// Copies pixels of a bitmap to an X drawable, enlarged by a factor (nearest
/// pixel; exact for whole factors, a plain copy for 1), converting to the
/// drawable's visual. The image is always opaque on screen. [ui]
class X11ImageWriter {
public:
    /// For drawables of `visual` and `depth` on `display` (borrowed).
    X11ImageWriter(Display* display, Visual* visual, int depth) noexcept
        : mDisplay(display), mVisual(visual), mDepth(depth) {}

    /// Copies `rect` of `source` (its pixels, clipped to the bitmap) enlarged
    /// by `scale` to the drawable, whose pixel (0, 0) shows source pixel (0, 0).
    void Put(Drawable drawable, GC gc, const PIX_IBitmap& source, const PixelRect& rect,
             double scale) const;
    /// The drawable's pixel value for colour `argb` (0xAARRGGBB; alpha ignored).
    unsigned long PixelOf(uint32_t argb) const noexcept;

private:
    Display* mDisplay;
    Visual* mVisual;
    int mDepth;
};
