// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "raster/PIX_PlatformFont.h"
#include "raster/PIX_Rect.h"

class PIX_IBitmap;

/// The platform drawing context a PIX_SysBitmap carries: the selected font,
/// text colour and background settings, and text drawing straight into the
/// bitmap's pixels. Created and owned by the bitmap. [ui]
class PIX_DrawContext {
public:
    /// Draws into `target`, which must outlive the context.
    explicit PIX_DrawContext(const PIX_IBitmap& target) noexcept : mTarget(target) {}
    PIX_DrawContext(const PIX_DrawContext&) = delete;
    PIX_DrawContext& operator=(const PIX_DrawContext&) = delete;

    /// Selects `font` (may be null) and returns the previous selection.
    PIX_FontHandle SelectFont(PIX_FontHandle font) noexcept;
    PIX_FontHandle SelectedFont() const noexcept { return mFont; }
    /// Text colour 0x00RRGGBB (the high byte is ignored); returns the previous one.
    uint32_t SetTextColor(uint32_t rgb) noexcept;
    /// kBkModeTransparent or kBkModeOpaque; returns the previous mode.
    int32_t SetBkMode(int32_t mode) noexcept;
    /// Background colour 0x00RRGGBB for kBkModeOpaque; returns the previous one.
    uint32_t SetBkColor(uint32_t rgb) noexcept;

    /// Line height of the selected font in pixels, 0 without one.
    int32_t LineHeight() const noexcept;

    /// Draws `length` code points into `rect` with the DT_ format flags.
    /// DT_CALCRECT only measures: rect.right and rect.bottom become left +
    /// width and top + height. Returns the text height (with DT_VCENTER or
    /// DT_BOTTOM: the offset from rect.top to the bottom of the text); 0
    /// without a font. Line feeds break lines unless DT_SINGLELINE; a
    /// carriage return is ignored. Without DT_NOCLIP drawing stays inside
    /// rect; it always stays inside the bitmap.
    int32_t DrawText(const char32_t* text, int32_t length, PIX_Rect& rect, uint32_t format) noexcept;

private:
    const PIX_IBitmap& mTarget;
    PIX_FontHandle mFont = nullptr;
    uint32_t mTextColor = 0;
    uint32_t mBkColor = 0xFFFFFF;
    int32_t mBkMode = 2;
};
