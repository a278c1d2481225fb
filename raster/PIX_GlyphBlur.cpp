// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_GlyphBlur.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "raster/PIX_IBitmap.h"

namespace pix {
namespace {

// Fractions of all four byte lanes at once; no lane carries into the next
// since the shares add up to less than 256.
inline uint32_t Half(uint32_t x) { return (x >> 1) & 0x7F7F7F7Fu; }
inline uint32_t Quarter(uint32_t x) { return (x >> 2) & 0x3F3F3F3Fu; }
inline uint32_t Eighth(uint32_t x) { return (x >> 3) & 0x1F1F1F1Fu; }

constexpr int32_t kStackRow = 1024;

}  // namespace

void BlurArea(PIX_IBitmap& surface, int32_t width, int32_t height)
{
    uint32_t* pixels = surface.Pixels();
    width = std::min(width, surface.Width());
    height = std::min(height, surface.Height());
    if (!pixels || width < 2 || height < 2) return;
    const ptrdiff_t stride = surface.RowStride();

    // The unsmoothed previous and current rows; the next row is still
    // unsmoothed in the surface itself.
    uint32_t stackRows[2 * kStackRow];
    std::vector<uint32_t> heapRows;
    uint32_t* prev = stackRows;
    if (width > kStackRow) {
        heapRows.resize(size_t(2) * width);
        prev = heapRows.data();
    }
    uint32_t* cur = prev + width;

    for (int32_t y = 0; y < height; ++y) {
        uint32_t* row = pixels + y * stride;
        std::memcpy(cur, row, size_t(width) * 4);
        const uint32_t* below = y + 1 < height ? row + stride : nullptr;
        for (int32_t x = 0; x < width; ++x) {
            uint32_t v = Half(cur[x]);
            if (y == 0) v += Quarter(below[x]);
            else if (!below) v += Quarter(prev[x]);
            else v += Eighth(prev[x]) + Eighth(below[x]);
            if (x == 0) v += Quarter(cur[1]);
            else if (x == width - 1) v += Quarter(cur[x - 1]);
            else v += Eighth(cur[x - 1]) + Eighth(cur[x + 1]);
            row[x] = v;
        }
        std::swap(prev, cur);
    }
}

}  // namespace pix
