// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_Compose.h"

#include <cstddef>

#include "raster/PIX_PixelOps.h"

namespace {

template <class Op>
void ForEachPixel(uint32_t* firstRow, int32_t stride, int32_t width, int32_t height, Op op) noexcept
{
    uint32_t* row = firstRow;
    for (int32_t r = 0; r < height; ++r, row += stride)
        for (int32_t i = 0; i < width; ++i) op(row + i);
}

inline uint8_t* Bytes(uint32_t* p) noexcept
{
    return reinterpret_cast<uint8_t*>(p);
}

}  // namespace

void PIX_Fill(PIX_IBitmap* dest, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour,
              float weight, int32_t mode) noexcept
{
    if (!dest) return;
    const uint32_t colourAlpha = colour >> 24;
    if (mode & kComposeSourceAlpha) weight *= float(colourAlpha) / 255.0f;

    int64_t w64 = width, h64 = height;
    if (x < 0) { w64 += x; x = 0; }
    if (y < 0) { h64 += y; y = 0; }
    uint32_t* pixels = dest->Pixels();
    const int32_t stride = dest->RowStride();
    if (weight == 0.0f || !pixels || stride == 0 || w64 < 1 || h64 < 1 || x >= dest->Width() ||
        y >= dest->Height())
        return;
    if (w64 > dest->Width() - x) w64 = dest->Width() - x;
    if (h64 > dest->Height() - y) h64 = dest->Height() - y;
    width = int32_t(w64);
    height = int32_t(h64);

    // Every pixel is treated alike, so a bottom-up bitmap is filled from its
    // lowest stored row of the rectangle upwards in memory.
    const int32_t firstStored = dest->IsBottomUp() ? dest->Height() - y - height : y;
    uint32_t* first = pixels + ptrdiff_t(firstStored) * stride + x;

    const int32_t w = pix::IntWeight(weight);
    const int32_t op = mode & 0xFF;
    const uint32_t K = colour;
    if (op == kComposeCopy) {
        switch (w) {
        case 256:
            ForEachPixel(first, stride, width, height, [K](uint32_t* d) { *d = K; });
            return;
        case 128:
            ForEachPixel(first, stride, width, height,
                         [K](uint32_t* d) { *d = ((*d >> 1) & 0x7F7F7F7Fu) + ((K >> 1) & 0x7F7F7F7Fu); });
            return;
        case 64:
            ForEachPixel(first, stride, width, height, [K](uint32_t* d) {
                *d = ((*d >> 1) & 0x7F7F7F7Fu) + ((*d >> 2) & 0x3F3F3F3Fu) + ((K >> 2) & 0x3F3F3F3Fu);
            });
            return;
        case 192:
            ForEachPixel(first, stride, width, height, [K](uint32_t* d) {
                *d = ((*d >> 2) & 0x3F3F3F3Fu) + ((K >> 2) & 0x3F3F3F3Fu) + ((K >> 1) & 0x7F7F7F7Fu);
            });
            return;
        default:
            break;
        }
    }
    if (w == 0 || op > kComposeHsvAdjust) return;

    // The integer weight stands in for the colour's alpha byte.
    const int32_t s[4] = {int32_t(colour & 0xFF), int32_t((colour >> 8) & 0xFF), int32_t((colour >> 16) & 0xFF), w};
    pix::VisitOperation(op, [&](auto apply) {
        ForEachPixel(first, stride, width, height, [&](uint32_t* d) { apply(Bytes(d), s, w); });
    });
}
