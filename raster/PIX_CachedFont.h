// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "raster/PIX_IFont.h"

/// A font that draws either through the platform text layer straight into
/// a bitmap's drawing context (system path), or from 8-bit coverage masks it
/// renders once per character through that layer and caches (glyph path),
/// with its own colours, compose mode, weight and effects. The fonts share
/// two scratch surfaces that live as long as any font does. [ui] only.
class PIX_CachedFont final : public PIX_IFont {
public:
    PIX_CachedFont();
    ~PIX_CachedFont() override;
    PIX_CachedFont(const PIX_CachedFont&) = delete;
    PIX_CachedFont& operator=(const PIX_CachedFont&) = delete;

    void AttachFont(PIX_FontHandle font, int32_t flags) override;
    uint32_t SetFontColor(uint32_t colour) override;
    uint32_t SetBackgroundColor(uint32_t colour) override;
    uint32_t SetEffectColor(uint32_t colour) override;
    int32_t SetBackgroundMode(int32_t mode) override;
    void SetComposeMode(int32_t mode, float weight) override;
    int32_t DrawString(PIX_IBitmap* dest, const char* text, int32_t length, PIX_Rect& rect,
                       uint32_t format) override;
    uint32_t FontColor() const override { return mTextColor; }
    PIX_FontHandle FontHandle() const override { return mFont; }
    int32_t LineHeight() const override { return mLineHeight; }
    /// Draws the cached glyph of `codePoint` with its pen position at (x, y),
    /// rendering it first if needed, inside `clip` and the bitmap. False when
    /// the character has no glyph or nothing of it is visible.
    bool DrawGlyph(PIX_IBitmap* dest, char32_t codePoint, int32_t x, int32_t y, const PIX_Rect& clip);

private:
    /// One rendered character. `position` is index + 1 into mGlyphPixels,
    /// 0 when not yet rendered, -1 when the character has no pixels.
    struct GlyphRecord {
        int32_t position = 0;
        int32_t width = 0;
        int32_t height = 0;
        int32_t advance = 0;
        int32_t codePoint = 0;
        int32_t left = 0;
    };
    /// Size of a text laid out by WalkText: along its lines and across them.
    struct Extent {
        int32_t along = 0;
        int32_t across = 0;
    };

    int32_t Pad() const noexcept;
    GlyphRecord* FindRecord(char32_t codePoint);
    GlyphRecord* GlyphFor(char32_t codePoint);
    GlyphRecord* RenderGlyph(char32_t codePoint);
    void Rasterize(char32_t codePoint, GlyphRecord& record);
    void ApplyMaskEffects(GlyphRecord& record);
    bool UsesSystemPath(uint32_t format, bool avoidSystem) const noexcept;
    int32_t DrawSystem(PIX_IBitmap* dest, const char* text, int32_t length, PIX_Rect& rect, uint32_t format);
    int32_t DrawGlyphs(PIX_IBitmap* dest, const char* text, int32_t length, PIX_Rect& rect, uint32_t format);
    /// Lays out `text`, calling onGlyph(record, line, along) for each glyph
    /// with pixels.
    template <class OnGlyph>
    Extent WalkText(const char32_t* text, int32_t length, uint32_t format, OnGlyph&& onGlyph);
    bool DrawRecord(PIX_IBitmap& dest, const GlyphRecord& record, int32_t x, int32_t y, const PIX_Rect& clip,
                    float weight);
    void SelectColours(PIX_DrawContext& context) const noexcept;

    uint32_t mTextColor = 0;
    uint32_t mBkColor = 0xFFFFFFFF;
    uint32_t mEffectColor = 0xFFFFFFFF;
    int32_t mBkMode = 1;
    int32_t mComposeMode = 0;
    float mWeight = 1.0f;
    int32_t mFlags = 0;
    int32_t mLineHeight = 0;
    int32_t mLineSpacing = 0;
    GlyphRecord mAscii[128];
    std::vector<GlyphRecord> mExtended;
    std::vector<uint8_t> mGlyphPixels;
    PIX_FontHandle mFont = nullptr;
};
