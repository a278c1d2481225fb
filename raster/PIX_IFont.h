// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "raster/PIX_IBitmap.h"
#include "raster/PIX_PlatformFont.h"
#include "raster/PIX_Rect.h"

/// A font that draws text into bitmaps. Colours are pixel words 0xAARRGGBB.
/// All operations are [ui].
class PIX_IFont {
public:
    virtual ~PIX_IFont() = default;

    /// Adopts `font` with the kFont* `flags` (PIX_FontFlags.h). With
    /// kFontOwnsHandle the font is deleted when replaced or destroyed.
    virtual void AttachFont(PIX_FontHandle font, int32_t flags) = 0;
    /// Each setter returns the previous value.
    virtual uint32_t SetFontColor(uint32_t colour) = 0;
    virtual uint32_t SetBackgroundColor(uint32_t colour) = 0;
    /// Colour of the pixels that kFontShadow and kFontOutline add.
    virtual uint32_t SetEffectColor(uint32_t colour) = 0;
    /// kBkModeTransparent or kBkModeOpaque (PIX_TextFormat.h).
    virtual int32_t SetBackgroundMode(int32_t mode) = 0;
    /// Compose mode and weight (PIX_ComposeMode.h) for glyph drawing.
    virtual void SetComposeMode(int32_t mode, float weight) = 0;
    /// Draws `length` bytes of UTF-8 `text` into `rect` of `dest` (null only
    /// with DT_CALCRECT) with DT_* format flags (PIX_TextFormat.h). Returns
    /// the height of the text (the width for vertical fonts), 0 when nothing
    /// was drawn; DT_CALCRECT sets rect.right and rect.bottom instead.
    virtual int32_t DrawString(PIX_IBitmap* dest, const char* text, int32_t length, PIX_Rect& rect,
                               uint32_t format) = 0;
    virtual uint32_t FontColor() const = 0;
    virtual PIX_FontHandle FontHandle() const = 0;
    /// Line height in pixels.
    virtual int32_t LineHeight() const = 0;
};
