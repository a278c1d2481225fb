// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The scratch surfaces all fonts share: the glyph surface (white text on
// black, opaque, where glyphs are rasterised) and the measuring surface
// (where text is drawn for bitmaps without a drawing context). They exist
// while at least one font lives. [ui] only: no lock.

#include <cstdint>

#include "raster/PIX_SysBitmap.h"

namespace pix {

/// A font was constructed / destroyed. The last one releases the surfaces.
void FontCreated() noexcept;
void FontDestroyed() noexcept;

/// The glyph surface, grown to at least size x size (and 256 x 256) with its
/// drawing settings restored whenever it grows. Check its size: storage can
/// fail.
PIX_SysBitmap& GlyphSurface(int32_t size);

/// The measuring surface, grown to at least width x height (and 4 x 4).
PIX_SysBitmap& MeasureSurface(int32_t width, int32_t height);

}  // namespace pix
