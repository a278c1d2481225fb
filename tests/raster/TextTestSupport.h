// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>

#include "raster/PIX_IBitmap.h"
#include "raster/PIX_PlatformFont.h"
#include "raster/PIX_Rect.h"

namespace testing_raster {

/// A system font of the given cell height (the best installed match).
inline std::unique_ptr<PIX_PlatformFont> TestFont(int32_t height, bool antialiased = true)
{
    PIX_FontSpec font;
    font.height = height;
    font.antialiased = antialiased;
    return PIX_PlatformFont::Create(font);
}

/// Bounding box of the pixels that differ from `background`; empty (right
/// <= left) when none differ.
inline PIX_Rect InkBox(const PIX_IBitmap& b, uint32_t background)
{
    PIX_Rect box{b.Width(), b.Height(), 0, 0};
    for (int32_t y = 0; y < b.Height(); ++y)
        for (int32_t x = 0; x < b.Width(); ++x)
            if (b.Pixels()[y * b.RowStride() + x] != background) {
                box.left = x < box.left ? x : box.left;
                box.top = y < box.top ? y : box.top;
                box.right = x + 1 > box.right ? x + 1 : box.right;
                box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
            }
    return box;
}

/// Number of pixels equal to `word`.
inline int32_t CountEqual(const PIX_IBitmap& b, uint32_t word)
{
    int32_t n = 0;
    for (int32_t y = 0; y < b.Height(); ++y)
        for (int32_t x = 0; x < b.Width(); ++x) n += b.Pixels()[y * b.RowStride() + x] == word;
    return n;
}

/// Number of pixels whose red, green and blue are those of `rgb`, whatever
/// their alpha: Windows' text drawing (and Wine's like it) leaves 0 in the
/// alpha byte of every pixel it writes, the FreeType stand-in 255.
inline int32_t CountColour(const PIX_IBitmap& b, uint32_t rgb)
{
    int32_t n = 0;
    for (int32_t y = 0; y < b.Height(); ++y)
        for (int32_t x = 0; x < b.Width(); ++x) n += (b.Pixels()[y * b.RowStride() + x] & 0xFFFFFFu) == rgb;
    return n;
}

}  // namespace testing_raster
