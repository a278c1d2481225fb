// SPDX-License-Identifier: GPL-3.0-or-later
// Rendering characters once into the font's cache of 8-bit coverage masks.
#include <algorithm>
#include <cstddef>

#include "raster/PIX_CachedFont.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_DrawContext.h"
#include "raster/PIX_FontFlags.h"
#include "raster/PIX_GlyphBlur.h"
#include "raster/PIX_GlyphSurfaces.h"
#include "raster/PIX_TextFormat.h"

namespace {

constexpr size_t kRecordGranularity = 4096;  // bytes
constexpr size_t kPixelGranularity = 65536;  // bytes

// Grows capacity in whole granules so that appending rarely reallocates.
template <class T>
void ReserveFor(std::vector<T>& v, size_t extra, size_t granularityBytes)
{
    const size_t needBytes = (v.size() + extra) * sizeof(T);
    if (needBytes <= v.capacity() * sizeof(T)) return;
    const size_t rounded = (needBytes + granularityBytes - 1) / granularityBytes * granularityBytes;
    v.reserve(rounded / sizeof(T));
}

constexpr uint8_t kFull = 255;
constexpr uint8_t kFringe = 128;

}  // namespace

PIX_CachedFont::GlyphRecord* PIX_CachedFont::FindRecord(char32_t codePoint)
{
    if (codePoint < 128) return &mAscii[codePoint];
    auto it = std::lower_bound(mExtended.begin(), mExtended.end(), codePoint,
                               [](const GlyphRecord& r, char32_t c) { return char32_t(r.codePoint) < c; });
    return it != mExtended.end() && char32_t(it->codePoint) == codePoint ? &*it : nullptr;
}

PIX_CachedFont::GlyphRecord* PIX_CachedFont::GlyphFor(char32_t codePoint)
{
    GlyphRecord* record = FindRecord(codePoint);
    if (record && record->position != 0) return record;
    return RenderGlyph(codePoint);
}

PIX_CachedFont::GlyphRecord* PIX_CachedFont::RenderGlyph(char32_t codePoint)
{
    if (mLineHeight > 1023 || codePoint > 0x7FFFFFFF) return nullptr;
    GlyphRecord* existing = FindRecord(codePoint);
    if (!existing && (mFlags & kFontPrerenderAscii)) return nullptr;
    GlyphRecord record;
    record.codePoint = int32_t(codePoint);
    Rasterize(codePoint, record);
    if (existing) {
        *existing = record;
        return existing;
    }
    // Inserted in order: the same as appending and sorting again.
    ReserveFor(mExtended, 1, kRecordGranularity);
    auto it = std::lower_bound(mExtended.begin(), mExtended.end(), codePoint,
                               [](const GlyphRecord& r, char32_t c) { return char32_t(r.codePoint) < c; });
    return &*mExtended.insert(it, record);
}

void PIX_CachedFont::Rasterize(char32_t codePoint, GlyphRecord& record)
{
    record.position = -1;
    const int32_t side = 2 * std::max(mLineHeight, 1) + 8;
    PIX_SysBitmap& surface = pix::GlyphSurface(side);
    if (surface.Width() < side || surface.Height() < side) return;
    PIX_DrawContext& dc = *surface.DeviceContext();
    // Without a font of its own the glyph is drawn with whatever font the
    // surface holds.
    const PIX_FontHandle previous = mFont ? dc.SelectFont(mFont) : dc.SelectedFont();

    const int32_t pad = Pad();
    PIX_Rect measured{};
    dc.DrawCodePoints(&codePoint, 1, measured, DT_NOPREFIX | DT_CALCRECT | DT_SINGLELINE);
    int32_t width = measured.right, height = measured.bottom;
    int32_t full = width + 2 * pad;
    PIX_Fill(&surface, 0, 0, full, height, 0, 1.0f, kComposeCopy);
    PIX_Rect at{pad, 0, pad + width, height};
    dc.DrawCodePoints(&codePoint, 1, at, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
    width = std::min(width, surface.Width());
    full = std::min(full, surface.Width());
    height = std::min(height, surface.Height());
    dc.SelectFont(previous);
    if (width < 1 || height < 1) return;

    record.advance = width;
    if (mFlags & kFontBlur) pix::BlurArea(surface, full, height);

    // Coverage is the red byte: the glyph was drawn white on black.
    const bool invert = (mFlags & kFontInvert) != 0;
    auto coverage = [&](int32_t x, int32_t y) -> uint8_t {
        const uint8_t red = uint8_t(surface.Pixels()[ptrdiff_t(y) * surface.RowStride() + x] >> 16);
        return invert ? uint8_t(255 - red) : red;
    };
    int32_t first = full, last = -1;
    for (int32_t x = 0; x < full; ++x)
        for (int32_t y = 0; y < height; ++y)
            if (coverage(x, y)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    // Blank columns go: on the left at most the pad, on the right all of
    // them. Shadow and outline keep one column each side for their fringe.
    if (last < 0) {
        first = std::min(pad, full);
        last = first - 1;
    } else {
        first = std::min(first, pad);
        if (mFlags & (kFontShadow | kFontOutline)) {
            first = std::max(first - 1, 0);
            last = std::min(last + 1, full - 1);
        }
    }
    record.left = first - pad;
    record.width = last - first + 1;
    record.height = height;
    ReserveFor(mGlyphPixels, size_t(record.width) * height, kPixelGranularity);
    record.position = int32_t(mGlyphPixels.size()) + 1;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = first; x <= last; ++x) mGlyphPixels.push_back(coverage(x, y));
    ApplyMaskEffects(record);
}

void PIX_CachedFont::ApplyMaskEffects(GlyphRecord& record)
{
    uint8_t* mask = mGlyphPixels.data() + record.position - 1;
    int32_t w = record.width, h = record.height;
    if (w < 1 || h < 1) return;

    if (mFlags & kFontVertical) {
        // A quarter turn: clockwise runs downwards, counter-clockwise upwards.
        const std::vector<uint8_t> copy(mask, mask + size_t(w) * h);
        const bool up = (mFlags & kFontVerticalUp) != 0;
        for (int32_t ny = 0; ny < w; ++ny)
            for (int32_t nx = 0; nx < h; ++nx) {
                const int32_t ox = up ? w - 1 - ny : ny, oy = up ? nx : h - 1 - nx;
                mask[ny * h + nx] = copy[size_t(oy) * w + ox];
            }
        std::swap(record.width, record.height);
        std::swap(w, h);
    }
    if (!(mFlags & (kFontMono | kFontShadow | kFontOutline))) return;
    for (int32_t i = 0; i < w * h; ++i) mask[i] = mask[i] > 130 ? kFull : 0;
    auto at = [&](int32_t x, int32_t y) { return x >= 0 && y >= 0 && x < w && y < h ? mask[y * w + x] : 0; };
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            if (mask[y * w + x] != 0) continue;
            bool fringe;
            if (mFlags & kFontShadow)
                fringe = at(x - 1, y) == kFull || at(x - 1, y - 1) == kFull || at(x, y - 1) == kFull;
            else if (mFlags & kFontOutline)
                fringe = at(x - 1, y) == kFull || at(x + 1, y) == kFull || at(x, y - 1) == kFull ||
                         at(x, y + 1) == kFull;
            else
                fringe = false;
            if (fringe) mask[y * w + x] = kFringe;
        }
}
