// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_Compose.h"

#include <cstddef>
#include <cstring>

#include "raster/PIX_PixelOps.h"

namespace {

// The clipped rectangle as row pointers: each operand walks its own rows,
// forwards for top-down storage, backwards for bottom-up.
struct ComposeRows {
    uint8_t* dest = nullptr;
    const uint8_t* source = nullptr;
    ptrdiff_t destStep = 0;    // bytes from one drawn row to the next
    ptrdiff_t sourceStep = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// First stored row of logical row `row` and the step to the next one.
template <class P>
P* RowStart(P* pixels, const PIX_IBitmap& bitmap, int64_t row, int64_t column, ptrdiff_t& step)
{
    const ptrdiff_t stride = ptrdiff_t(bitmap.RowStride()) * 4;
    const int64_t stored = bitmap.IsBottomUp() ? bitmap.Height() - 1 - row : row;
    step = bitmap.IsBottomUp() ? -stride : stride;
    return pixels + stored * stride + column * 4;
}

// Clips in the documented order; false when nothing is left to draw.
bool ClipCompose(PIX_IBitmap& dest, const PIX_IBitmap& source, int64_t x, int64_t y, const PIX_Rect* src,
                 ComposeRows& rows)
{
    int64_t left = 0, top = 0, right = source.Width(), bottom = source.Height();
    if (src) {
        left = src->left;
        top = src->top;
        if (left < 0) { x -= left; left = 0; }
        if (top < 0) { y -= top; top = 0; }
        right = src->right < right ? src->right : right;
        bottom = src->bottom < bottom ? src->bottom : bottom;
    }
    if (x < 0) { left -= x; x = 0; }
    if (y < 0) { top -= y; y = 0; }
    if (right <= left || bottom <= top || x >= dest.Width() || y >= dest.Height()) return false;
    if (right > left + (dest.Width() - x)) right = left + (dest.Width() - x);
    if (bottom > top + (dest.Height() - y)) bottom = top + (dest.Height() - y);
    if (right <= left || bottom <= top) return false;

    uint8_t* destPixels = reinterpret_cast<uint8_t*>(dest.Pixels());
    const uint8_t* sourcePixels = reinterpret_cast<const uint8_t*>(source.Pixels());
    if (!destPixels || !sourcePixels) return false;
    rows.dest = RowStart(destPixels, dest, y, x, rows.destStep);
    rows.source = RowStart(sourcePixels, source, top, left, rows.sourceStep);
    rows.width = int32_t(right - left);
    rows.height = int32_t(bottom - top);
    return true;
}

// One loop per operation: `op` is resolved at compile time for each mode.
template <class Op>
void ForEachPixel(const ComposeRows& rows, Op op) noexcept
{
    uint8_t* d = rows.dest;
    const uint8_t* s = rows.source;
    for (int32_t row = 0; row < rows.height; ++row, d += rows.destStep, s += rows.sourceStep)
        for (int32_t i = 0; i < rows.width; ++i) op(d + 4 * i, s + 4 * i);
}

void CopyRows(const ComposeRows& rows) noexcept
{
    uint8_t* d = rows.dest;
    const uint8_t* s = rows.source;
    for (int32_t row = 0; row < rows.height; ++row, d += rows.destStep, s += rows.sourceStep)
        std::memcpy(d, s, size_t(rows.width) * 4);
}

// Weight 0.5: a word average with the low bit of each byte dropped.
void AverageRows(const ComposeRows& rows) noexcept
{
    uint8_t* d = rows.dest;
    const uint8_t* s = rows.source;
    for (int32_t row = 0; row < rows.height; ++row, d += rows.destStep, s += rows.sourceStep) {
        uint32_t* dw = reinterpret_cast<uint32_t*>(d);
        const uint32_t* sw = reinterpret_cast<const uint32_t*>(s);
        for (int32_t i = 0; i < rows.width; ++i)
            dw[i] = ((dw[i] >> 1) & 0x7F7F7F7Fu) + ((sw[i] >> 1) & 0x7F7F7F7Fu);
    }
}

void ComposeWeighted(const ComposeRows& rows, int32_t mode, int32_t w) noexcept
{
    using namespace pix;
    if (!(mode & kComposeSourceAlpha)) {
        VisitOperation(mode, [&](auto op) {
            ForEachPixel(rows, [&](uint8_t* d, const uint8_t* s) { op(d, s, w); });
        });
        return;
    }
    const int32_t operation = mode & 0xFF;
    if (operation == kComposeCopy) {
        if (w == 256) ForEachPixel(rows, [](uint8_t* d, const uint8_t* s) { SourceOverFull(d, s); });
        else ForEachPixel(rows, [w](uint8_t* d, const uint8_t* s) { SourceOverWeighted(d, s, w); });
        return;
    }
    // Each pixel's weight scales with its alpha. Add and multiply leave the
    // destination alone under a transparent pixel; the others still apply
    // (HSV adjust then hands on the alpha 0).
    const bool skipTransparent = operation == kComposeAdd || operation == kComposeMultiply;
    VisitOperation(operation, [&](auto op) {
        ForEachPixel(rows, [&](uint8_t* d, const uint8_t* s) {
            if (!(skipTransparent && s[3] == 0)) op(d, s, AlphaWeight(s[3], w));
        });
    });
}

}  // namespace

void PIX_Compose(PIX_IBitmap* dest, const PIX_IBitmap* source, int32_t x, int32_t y, const PIX_Rect* src,
                 float weight, int32_t mode) noexcept
{
    if (!dest || !source || weight == 0.0f) return;
    ComposeRows rows;
    if (!ClipCompose(*dest, *source, x, y, src, rows)) return;

    if ((mode & 0xFF) >= kComposeChannelCopy) {
        const int destByte = (mode >> 2) & 3;
        const int sourceByte = mode & 3;
        ForEachPixel(rows, [destByte, sourceByte](uint8_t* d, const uint8_t* s) { d[destByte] = s[sourceByte]; });
        return;
    }
    mode &= kComposeSourceAlpha | 0xFF;
    if (mode == kComposeCopy && weight == 1.0f) {
        CopyRows(rows);
        return;
    }
    if (mode == kComposeCopy && weight == 0.5f) {
        AverageRows(rows);
        return;
    }
    const int32_t w = pix::IntWeight(weight);
    if (w == 0) return;
    ComposeWeighted(rows, mode, w);
}
