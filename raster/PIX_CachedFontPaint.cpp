// SPDX-License-Identifier: GPL-3.0-or-later
// Painting cached coverage masks with the font's colours, mode and weight.
#include <algorithm>
#include <cstddef>

#include "raster/PIX_CachedFont.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_FontFlags.h"
#include "raster/PIX_PixelOps.h"
#include "raster/PIX_TextFormat.h"

namespace {

// The colour as source bytes (blue, green, red) with an opaque alpha: copy
// then moves alpha toward 255 and multiply scales it by (65536 - k) / 65536.
struct Source {
    int32_t bytes[4];
    explicit Source(uint32_t colour)
        : bytes{int32_t(colour & 255), int32_t((colour >> 8) & 255), int32_t((colour >> 16) & 255), 255} {}
};

}  // namespace

bool PIX_CachedFont::DrawRecord(PIX_IBitmap& dest, const GlyphRecord& record, int32_t x, int32_t y,
                                const PIX_Rect& clip, float weight)
{
    if (record.position <= 0) return false;
    if (!(mFlags & kFontVertical)) x += record.left;
    else if (mFlags & kFontVerticalUp) y -= record.left;
    else y += record.left;

    const int32_t left = std::max({x, clip.left, 0});
    const int32_t top = std::max({y, clip.top, 0});
    const int32_t right = std::min({x + record.width, clip.right, dest.Width()});
    const int32_t bottom = std::min({y + record.height, clip.bottom, dest.Height()});
    uint32_t* pixels = dest.Pixels();
    if (right <= left || bottom <= top || !pixels) return false;

    if (mBkMode == kBkModeOpaque)
        PIX_Fill(&dest, left, top, right - left, bottom - top, mBkColor, weight, mComposeMode & ~kComposeSourceAlpha);

    const int32_t W = pix::IntWeight(weight);
    if (W == 0) return true;
    const uint8_t* mask = mGlyphPixels.data() + record.position - 1;
    const ptrdiff_t stride = dest.RowStride();
    auto forEachCovered = [&](auto&& paint) {
        for (int32_t py = top; py < bottom; ++py) {
            const int32_t stored = dest.IsBottomUp() ? dest.Height() - 1 - py : py;
            uint32_t* row = pixels + stored * stride;
            const uint8_t* m = mask + ptrdiff_t(py - y) * record.width;
            for (int32_t px = left; px < right; ++px)
                if (const int32_t v = m[px - x]) paint(row + px, v);
        }
    };

    const int32_t mode = mComposeMode & 0xFF;
    const bool thresholded = (mFlags & (kFontMono | kFontShadow | kFontOutline)) != 0;
    // Pixels of coverage 128 are the fringe that shadow and outline added.
    const bool fringes = (mFlags & (kFontShadow | kFontOutline)) != 0;
    if (thresholded && weight == 1.0f && mode == kComposeCopy) {
        // Mono masks at full weight in copy mode take the colour words as they are.
        forEachCovered([&](uint32_t* p, int32_t v) { *p = fringes && v == 128 ? mEffectColor : mTextColor; });
        return true;
    }
    const Source text(mTextColor), effect(mEffectColor);
    pix::VisitOperation(mode, [&](auto op) {
        forEachCovered([&](uint32_t* p, int32_t v) {
            uint8_t* d = reinterpret_cast<uint8_t*>(p);
            if (thresholded) op(d, fringes && v == 128 ? effect.bytes : text.bytes, W);
            else op(d, text.bytes, W == 256 ? v + 1 : std::min(W * v / 256, 256));
        });
    });
    return true;
}
