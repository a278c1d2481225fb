// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_CachedFont.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "raster/PIX_Compose.h"
#include "raster/PIX_DrawContext.h"
#include "raster/PIX_FontFlags.h"
#include "raster/PIX_GlyphSurfaces.h"
#include "raster/PIX_TextFormat.h"
#include "raster/PIX_Utf8.h"

namespace {

// Flags that only the glyph path can honour.
constexpr int32_t kGlyphOnlyFlags = kFontVertical | kFontVerticalUp | kFontPrerenderAscii | kFontBlur | kFontInvert |
                                    kFontMono | kFontShadow | kFontOutline;
constexpr uint32_t kAlignmentBits = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;

}  // namespace

PIX_CachedFont::PIX_CachedFont()
{
    pix::FontCreated();
}

PIX_CachedFont::~PIX_CachedFont()
{
    if (mFlags & kFontOwnsHandle) delete mFont;
    pix::FontDestroyed();
}

void PIX_CachedFont::AttachFont(PIX_FontHandle font, int32_t flags)
{
    if ((mFlags & kFontOwnsHandle) && mFont != font) delete mFont;
    mFlags = flags;
    mFont = font;
    mLineHeight = 0;
    if (font) {
        PIX_DrawContext& dc = *pix::GlyphSurface(256).DeviceContext();
        const PIX_FontHandle previous = dc.SelectFont(font);
        mLineHeight = dc.LineHeight();
        dc.SelectFont(previous);
    }
    for (GlyphRecord& record : mAscii) record = GlyphRecord{};
    mExtended.clear();
    mGlyphPixels.clear();
    if (flags & kFontPrerenderAscii)
        for (char32_t c = 0; c < 128; ++c) RenderGlyph(c);
}

uint32_t PIX_CachedFont::SetFontColor(uint32_t colour)
{
    return std::exchange(mTextColor, colour);
}

uint32_t PIX_CachedFont::SetBackgroundColor(uint32_t colour)
{
    return std::exchange(mBkColor, colour);
}

uint32_t PIX_CachedFont::SetEffectColor(uint32_t colour)
{
    return std::exchange(mEffectColor, colour);
}

int32_t PIX_CachedFont::SetBackgroundMode(int32_t mode)
{
    return std::exchange(mBkMode, mode);
}

void PIX_CachedFont::SetComposeMode(int32_t mode, float weight)
{
    mComposeMode = mode;
    mWeight = weight;
}

int32_t PIX_CachedFont::Pad() const noexcept
{
    return mLineHeight < 16 ? 2 : mLineHeight / 16 + 2;
}

bool PIX_CachedFont::UsesSystemPath(uint32_t format, bool avoidSystem) const noexcept
{
    const bool preferred = (mFlags & kFontPreferSystem) && mFont && !avoidSystem &&
                           !(format & kTextColorAlphaWeight) && !(mFlags & kGlyphOnlyFlags) &&
                           (mLineSpacing == 0 || (format & DT_SINGLELINE));
    // Glyphs this large would not fit the cache's masks.
    return preferred || mLineHeight >= 256;
}

int32_t PIX_CachedFont::DrawString(PIX_IBitmap* dest, const char* text, int32_t length, PIX_Rect& rect,
                                   uint32_t format)
{
    if (!dest && !(format & DT_CALCRECT)) return 0;
    const bool avoidSystem = (format & kTextAvoidSystem) != 0;
    format &= ~kTextAvoidSystem;
    if (!text) length = 0;
    else if (length < 0) length = int32_t(std::strlen(text));
    if (UsesSystemPath(format, avoidSystem)) return DrawSystem(dest, text, length, rect, format);
    return DrawGlyphs(dest, text, length, rect, format);
}

void PIX_CachedFont::SelectColours(PIX_DrawContext& context) const noexcept
{
    context.SetTextColor(mTextColor & 0xFFFFFFu);
    context.SetBkMode(mBkMode);
    if (mBkMode == kBkModeOpaque) context.SetBkColor(mBkColor & 0xFFFFFFu);
}

int32_t PIX_CachedFont::DrawSystem(PIX_IBitmap* dest, const char* text, int32_t length, PIX_Rect& rect,
                                   uint32_t format)
{
    // Text with UTF-8 in it is drawn as Unicode; anything else (or text that
    // is not UTF-8 throughout) as bytes of the system's code page.
    pix::CodePointText codePoints;
    const bool unicode = pix::HasUtf8Sequence(text, length) && pix::DecodeUtf8Strict(text, length, codePoints);
    auto draw = [&](PIX_DrawContext& dc, PIX_Rect& where, uint32_t flags) {
        return unicode ? dc.DrawCodePoints(codePoints.Data(), codePoints.Size(), where, flags)
                       : dc.DrawBytes(text, length, where, flags);
    };

    if (PIX_DrawContext* dc = dest ? dest->DeviceContext() : nullptr) {
        SelectColours(*dc);
        const PIX_FontHandle previous = dc->SelectFont(mFont);
        const int32_t result = draw(*dc, rect, format | DT_NOPREFIX);
        dc->SelectFont(previous);
        return result;
    }

    // No drawing context: draw on the measuring surface over a copy of the
    // bitmap's pixels, then compose the box back.
    PIX_SysBitmap* surface = &pix::MeasureSurface(4, 4);
    PIX_DrawContext* dc = surface->DeviceContext();
    SelectColours(*dc);
    const PIX_FontHandle previous = dc->SelectFont(mFont);
    PIX_Rect extent{};
    draw(*dc, extent, (format & ~kAlignmentBits) | DT_CALCRECT | DT_NOPREFIX);
    const int32_t width = extent.right, height = extent.bottom;
    if (format & DT_CALCRECT) {
        rect.right = rect.left + width;
        rect.bottom = rect.top + height;
        dc->SelectFont(previous);
        return height;
    }

    int32_t x = rect.left, y = rect.top;
    if (format & DT_RIGHT) x = rect.right - width;
    else if (format & DT_CENTER) x = (rect.left + rect.right - width) / 2;
    if (format & DT_BOTTOM) y = rect.bottom - height;
    else if (format & DT_VCENTER) y = (rect.top + rect.bottom - height) / 2;
    PIX_Rect box{std::max(x, 0), std::max(y, 0), std::min(x + width, dest->Width()), std::min(y + height, dest->Height())};
    if (!(format & DT_NOCLIP)) {
        box.left = std::max(box.left, rect.left);
        box.top = std::max(box.top, rect.top);
        box.right = std::min(box.right, rect.right);
        box.bottom = std::min(box.bottom, rect.bottom);
    }
    // Room for glyphs that overhang to the left of their cell.
    box.left -= std::min(box.left, Pad());
    const int32_t boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    if (boxWidth > 0 && boxHeight > 0) {
        surface = &pix::MeasureSurface(boxWidth, boxHeight);
        if (surface->Width() >= boxWidth && surface->Height() >= boxHeight) {
            PIX_Compose(surface, dest, 0, 0, &box, 1.0f, kComposeCopy);
            PIX_Rect at{x - box.left, y - box.top, x - box.left + width, y - box.top + height};
            draw(*dc, at, (format & ~(DT_VCENTER | DT_BOTTOM)) | DT_NOPREFIX | DT_NOCLIP);
            const PIX_Rect back{0, 0, boxWidth, boxHeight};
            PIX_Compose(dest, surface, box.left, box.top, &back, mWeight, kComposeCopy);
        }
    }
    dc->SelectFont(previous);
    return height;
}

template <class OnGlyph>
PIX_CachedFont::Extent PIX_CachedFont::WalkText(const char32_t* text, int32_t length, uint32_t format,
                                                OnGlyph&& onGlyph)
{
    const bool vertical = (mFlags & kFontVertical) != 0;
    Extent total;
    int32_t line = 0, along = 0, lineAcross = 0;
    for (int32_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        if (c == U'\r') continue;
        if (c == U'\n') {
            if (!(format & DT_SINGLELINE)) {
                total.along = std::max(total.along, along);
                total.across += lineAcross + mLineSpacing;
                ++line;
                along = 0;
                lineAcross = 0;
                continue;
            }
            c = U' ';
        }
        const GlyphRecord* record = GlyphFor(c);
        if (!record || record->position <= 0) continue;
        onGlyph(*record, line, along);
        along += record->advance;
        lineAcross = std::max(lineAcross, vertical ? record->width : record->height);
    }
    total.along = std::max(total.along, along);
    total.across += lineAcross;
    return total;
}

int32_t PIX_CachedFont::DrawGlyphs(PIX_IBitmap* dest, const char* text, int32_t length, PIX_Rect& rect,
                                   uint32_t format)
{
    pix::CodePointText codePoints;
    pix::DecodeUtf8Lenient(text, length, codePoints);
    const bool vertical = (mFlags & kFontVertical) != 0;
    const bool upward = vertical && (mFlags & kFontVerticalUp);
    auto measure = [&] { return WalkText(codePoints.Data(), codePoints.Size(), format, [](auto&&...) {}); };

    if (format & DT_CALCRECT) {
        const Extent e = measure();
        rect.right = rect.left + (vertical ? e.across : e.along);
        rect.bottom = rect.top + (vertical ? e.along : e.across);
        return e.across;
    }

    float weight = mWeight;
    if (format & kTextColorAlphaWeight) weight *= float(mTextColor >> 24) / 255.0f;
    if (weight == 0.0f) return 0;

    int32_t x = rect.left, y = rect.top;
    if ((format & kAlignmentBits) || upward) {
        const Extent e = measure();
        const int32_t width = vertical ? e.across : e.along, height = vertical ? e.along : e.across;
        if (format & DT_CENTER) x = rect.left + (rect.right - rect.left - width) / 2;
        else if (format & DT_RIGHT) x = rect.right - width;
        if (format & DT_VCENTER) y = rect.top + (rect.bottom - rect.top - height) / 2;
        else if (format & DT_BOTTOM) y = rect.bottom - height;
        if (upward) y += height;
    }

    PIX_Rect clip{0, 0, dest->Width(), dest->Height()};
    if (!(format & DT_NOCLIP)) {
        clip.left = std::max(clip.left, rect.left);
        clip.top = std::max(clip.top, rect.top);
        clip.right = std::min(clip.right, rect.right);
        clip.bottom = std::min(clip.bottom, rect.bottom);
    }
    if (clip.right <= clip.left || clip.bottom <= clip.top) return 0;

    const int32_t lineStep = mLineHeight + mLineSpacing;
    const Extent e = WalkText(codePoints.Data(), codePoints.Size(), format,
                              [&](const GlyphRecord& record, int32_t line, int32_t along) {
                                  if (!vertical) DrawRecord(*dest, record, x + along, y + line * lineStep, clip, weight);
                                  else if (!upward) DrawRecord(*dest, record, x + line * lineStep, y + along, clip, weight);
                                  else DrawRecord(*dest, record, x + line * lineStep, y - along - record.height, clip, weight);
                              });
    return e.across;
}

bool PIX_CachedFont::DrawGlyph(PIX_IBitmap* dest, char32_t codePoint, int32_t x, int32_t y, const PIX_Rect& clip)
{
    const GlyphRecord* record = GlyphFor(codePoint);
    if (!dest || !record) return false;
    return DrawRecord(*dest, *record, x, y, clip, mWeight);
}
