// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "raster/PIX_IBitmap.h"
#include "raster/PIX_Rect.h"

/// [ui] Enlarges `area` of `source` by the whole `factor` into `dest`: each
/// source pixel becomes a factor x factor block at factor times its position.
/// Clipped to both bitmaps; a factor below 1 draws nothing. Allocates nothing.
void PIX_Enlarge(PIX_IBitmap* dest, const PIX_IBitmap* source, const PIX_Rect& area,
                 int32_t factor) noexcept;

/// [ui] Reduces `source` by `ratio` (source pixels per destination pixel,
/// 1 or more) into `area` of `dest`: destination pixel (x, y) becomes the
/// average of the source square [x r, (x + 1) r) x [y r, (y + 1) r), each
/// source pixel weighted by the part of it the square covers (a box filter
/// over exact coverage), so a ratio of 2 averages 2 x 2 blocks and a ratio
/// of 1 copies. Parts of the square outside the source do not count. The
/// four bytes are averaged as stored, which is exact for the editor's opaque
/// surfaces. Clipped to `dest`; a ratio below 1 or not finite draws nothing.
/// Allocates nothing.
void PIX_Reduce(PIX_IBitmap* dest, const PIX_Rect& area, const PIX_IBitmap* source,
                double ratio) noexcept;
