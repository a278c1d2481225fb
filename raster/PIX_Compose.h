// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "raster/PIX_ComposeMode.h"
#include "raster/PIX_IBitmap.h"
#include "raster/PIX_Rect.h"

/// [ui] Copies or blends the rectangle `src` of `source` (null: all of it)
/// onto `dest` with its top-left pixel at (x, y), under `mode` (see
/// PIX_ComposeMode.h) and `weight` (nominally 0..1). Clips to both bitmaps;
/// whatever cannot be drawn is silently not drawn. Source and destination
/// must not share memory. Allocates nothing.
void PIX_Compose(PIX_IBitmap* dest, const PIX_IBitmap* source, int32_t x, int32_t y,
                 const PIX_Rect* src, float weight, int32_t mode) noexcept;

/// [ui] Fills or blends the rectangle (x, y, width, height) of `dest` with the
/// pixel word `colour` (0xAARRGGBB) under `mode` and `weight`; clipped to the
/// bitmap. Channel copy is not available here. Allocates nothing.
void PIX_Fill(PIX_IBitmap* dest, int32_t x, int32_t y, int32_t width, int32_t height,
              uint32_t colour, float weight, int32_t mode) noexcept;
