// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>

#include "raster/PIX_IBitmap.h"
#include "raster/PIX_MemBitmap.h"

// PNG decoding into 0xAARRGGBB straight-alpha pixels. Every image, whatever
// its colour type and bit depth, arrives as 8-bit samples; pixels the image
// does not make transparent are opaque. Every failure returns nothing and
// leaves nothing allocated. All functions are [any]: they share no state, and
// the editor calls them on its [ui] thread.

/// Decodes a complete PNG file held in `length` bytes at `data`.
std::unique_ptr<PIX_MemBitmap> PIX_LoadPngFromMemory(const void* data, int32_t length);

/// Decodes the PNG file at the UTF-8 `path` into a new bitmap.
std::unique_ptr<PIX_MemBitmap> PIX_LoadPngFromFile(const char* path);

/// Decodes the PNG file at `path` into the caller's `into` (resized to the
/// image; bottom-up bitmaps honoured). False when nothing was decoded.
bool PIX_LoadPngFromFileInto(const char* path, PIX_IBitmap& into);

/// Decodes the "PNG" resource `id` (low 16 bits used) built into the module,
/// for an image whose file `name` must end in ".png" (any letter case);
/// other names are refused before any lookup.
std::unique_ptr<PIX_MemBitmap> PIX_LoadPngResource(int32_t id, const char* name);
