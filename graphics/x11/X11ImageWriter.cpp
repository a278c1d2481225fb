// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/X11ImageWriter.h"

#include "graphics/WindowScale.h"
#include "raster/PIX_IBitmap.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>

namespace {

/// Places an 8-bit channel value under `mask` (any position and width).
unsigned long ToMask(uint32_t channel, unsigned long mask) noexcept
{
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    int bits = 0;
    while ((mask >> (shift + bits)) & 1) ++bits;
    const unsigned long value = bits >= 8 ? channel << (bits - 8) : channel >> (8 - bits);
    return (value << shift) & mask;
}

} // namespace

void X11ImageWriter::Put(Drawable drawable, GC gc, const PIX_IBitmap& source,
                         const PixelRect& rect, double scale) const
{
    const uint32_t* pixels = source.Pixels();
    if (!pixels) return;
    const PixelRect clipped = rect.Intersection({0, 0, source.Width(), source.Height()});
    if (clipped.IsEmpty()) return;
    const PixelRect out = WindowScale::ScaledRect(clipped, scale);
    const int width = out.R - out.L;
    const int height = out.B - out.T;
    if (width <= 0 || height <= 0) return;

    XImage* image = XCreateImage(mDisplay, mVisual, unsigned(mDepth), ZPixmap, 0, nullptr,
                                 unsigned(width), unsigned(height), 32, 0);
    if (!image) return;
    image->data = static_cast<char*>(std::malloc(size_t(image->bytes_per_line) * size_t(height)));
    if (!image->data) {
        XDestroyImage(image);
        return;
    }
    // The surface's words are 0xAARRGGBB in memory order B, G, R, A: on the
    // usual 24/32-bit visuals they go out as they are, with alpha forced.
    const bool direct = image->bits_per_pixel == 32 && image->red_mask == 0xFF0000
                        && image->green_mask == 0xFF00 && image->blue_mask == 0xFF
                        && image->byte_order == LSBFirst;
    const int stride = source.RowStride();
    for (int wy = 0; wy < height; ++wy) {
        const int sy = std::min(int((out.T + wy + 0.5) / scale), source.Height() - 1);
        const int row = source.IsBottomUp() ? source.Height() - 1 - sy : sy;
        const uint32_t* src = pixels + size_t(row) * size_t(stride);
        auto* dst = reinterpret_cast<uint32_t*>(image->data + size_t(wy) * size_t(image->bytes_per_line));
        for (int wx = 0; wx < width; ++wx) {
            const int sx = std::min(int((out.L + wx + 0.5) / scale), source.Width() - 1);
            const uint32_t p = src[sx];
            if (direct) {
                dst[wx] = p | 0xFF000000u;
            } else {
                XPutPixel(image, wx, wy,
                          ToMask((p >> 16) & 0xFF, image->red_mask)
                              | ToMask((p >> 8) & 0xFF, image->green_mask)
                              | ToMask(p & 0xFF, image->blue_mask));
            }
        }
    }
    XPutImage(mDisplay, drawable, gc, image, 0, 0, out.L, out.T, unsigned(width), unsigned(height));
    XDestroyImage(image);
}

unsigned long X11ImageWriter::PixelOf(uint32_t argb) const noexcept
{
    return ToMask((argb >> 16) & 0xFF, mVisual->red_mask) | ToMask((argb >> 8) & 0xFF, mVisual->green_mask)
           | ToMask(argb & 0xFF, mVisual->blue_mask);
}
