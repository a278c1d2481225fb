// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>

#include "raster/PIX_PlatformFont.h"
#include "raster/PIX_Rect.h"

class PIX_IBitmap;
struct HDC__;

/// The platform drawing context a PIX_SysBitmap carries: it holds the
/// bitmap's pixel storage, the selected font, the text colour and background
/// settings, and draws text straight into the pixels. On Windows it is a
/// memory device context with a DIB section selected into it; on Linux the
/// library's own text layer. Created and owned by the bitmap. [ui]
class PIX_DrawContext {
public:
    /// A context that draws into `target`, which must outlive it; null when
    /// the system refuses one.
    static std::unique_ptr<PIX_DrawContext> Create(const PIX_IBitmap& target);
    ~PIX_DrawContext();
    PIX_DrawContext(const PIX_DrawContext&) = delete;
    PIX_DrawContext& operator=(const PIX_DrawContext&) = delete;

    /// Replaces the pixel storage with a new one of width x height pixels
    /// (rows of `width` pixels, stored bottom row first when `bottomUp`),
    /// cleared to 0. Returns it, or null (and no storage) when refused.
    uint32_t* CreateStorage(int32_t width, int32_t height, bool bottomUp) noexcept;
    /// Releases the pixel storage, if any.
    void ReleaseStorage() noexcept;

    /// Selects `font` (may be null) and returns the previous selection.
    PIX_FontHandle SelectFont(PIX_FontHandle font) noexcept;
    PIX_FontHandle SelectedFont() const noexcept;
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
    /// DT_BOTTOM: the offset from rect.top to the bottom of the text). Line
    /// feeds break lines unless DT_SINGLELINE; a carriage return is ignored.
    /// Without DT_NOCLIP drawing stays inside rect; it always stays inside
    /// the bitmap. Without a selected font Linux draws nothing (and returns
    /// 0), Windows draws with the device context's own font.
    int32_t DrawCodePoints(const char32_t* text, int32_t length, PIX_Rect& rect, uint32_t format) noexcept;
    /// The same for 8-bit text in the system's code page (Latin-1 on Linux).
    int32_t DrawBytes(const char* text, int32_t length, PIX_Rect& rect, uint32_t format) noexcept;

    /// Windows: the memory device context (HDC), which the window host copies
    /// from; it stays owned by this object. Linux: null.
    HDC__* SystemHandle() const noexcept;

private:
    struct Impl;
    explicit PIX_DrawContext(std::unique_ptr<Impl> impl) noexcept;
    std::unique_ptr<Impl> mImpl;
};
