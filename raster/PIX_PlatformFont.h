// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

/// What a caller asks of a system font.
struct PIX_FontSpec {
    std::string face = "Verdana";  ///< family name; the best installed match is used
    int32_t height = 12;           ///< > 0: cell height in pixels; < 0: em height
    int32_t weight = 400;          ///< 100..900, 700 bold
    bool italic = false;
    bool antialiased = true;       ///< false: one-bit glyphs
};

/// A system font: the face found for a PIX_FontSpec, scaled to its height.
/// This is the "font handle" of PIX_CachedFont and PIX_DrawContext. [ui]
class PIX_PlatformFont {
public:
    /// [ui] The best installed match for `request`, or null when no font is
    /// installed or the height is 0.
    static std::unique_ptr<PIX_PlatformFont> Create(const PIX_FontSpec& request);
    ~PIX_PlatformFont();
    PIX_PlatformFont(const PIX_PlatformFont&) = delete;
    PIX_PlatformFont& operator=(const PIX_PlatformFont&) = delete;

    /// Line height in pixels (ascent + descent).
    int32_t Height() const noexcept;
    /// Pixels from the top of a line to the baseline.
    int32_t Ascent() const noexcept;

    /// Pen advance of `codePoint` in pixels (0 when the font lacks it).
    int32_t Advance(char32_t codePoint) const noexcept;

    /// Coverage of one rendered glyph; valid until the next RenderGlyph.
    struct Coverage {
        const uint8_t* rows = nullptr;  ///< 0..255 per pixel
        int32_t pitch = 0;              ///< bytes between rows
        int32_t width = 0;
        int32_t height = 0;
        int32_t left = 0;               ///< from the pen position to the first column
        int32_t top = 0;                ///< from the baseline up to the first row
    };
    /// Renders `codePoint`; false when it has no pixels.
    bool RenderGlyph(char32_t codePoint, Coverage& out) const noexcept;

private:
    struct Impl;
    explicit PIX_PlatformFont(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> mImpl;
};

/// The handle form in which fonts are passed around (non-owning unless a
/// font is attached with kFontOwnsHandle).
using PIX_FontHandle = PIX_PlatformFont*;
