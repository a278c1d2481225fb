// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

/// Which smoothing an anti-aliased font may use. Windows maps these onto
/// its font qualities (default, anti-aliased, ClearType); Linux smooths one
/// way whatever is asked.
enum class PIX_FontSmoothing : int32_t { kSystemDefault, kStandard, kClearType };

/// What a caller asks of a system font.
struct PIX_FontSpec {
    std::string face = "Verdana";  ///< family name; the best installed match is used
    int32_t height = 12;           ///< > 0: cell height in pixels; < 0: em height
    int32_t weight = 400;          ///< 100..900, 700 bold
    bool italic = false;
    bool antialiased = true;       ///< false: one-bit glyphs
    PIX_FontSmoothing smoothing = PIX_FontSmoothing::kSystemDefault;  ///< when antialiased
    /// Angle of the text line in degrees, counter-clockwise. Windows turns the
    /// text; Linux draws it horizontally.
    int32_t orientation = 0;
};

struct HFONT__;

/// A system font: the face found for a PIX_FontSpec, scaled to its height.
/// This is the "font handle" of PIX_CachedFont and PIX_DrawContext. On
/// Windows it wraps the system's font handle, which the device context
/// selects and measures; on Linux it is a FreeType face that the library's
/// own text layer asks for metrics and glyphs. [ui]
class PIX_PlatformFont {
public:
    /// [ui] The best installed match for `request`, or null when the system
    /// creates none (Linux: no font installed, or the height is 0; Windows
    /// takes a height of 0 as its default height).
    static std::unique_ptr<PIX_PlatformFont> Create(const PIX_FontSpec& request);
    ~PIX_PlatformFont();
    PIX_PlatformFont(const PIX_PlatformFont&) = delete;
    PIX_PlatformFont& operator=(const PIX_PlatformFont&) = delete;

#ifdef _WIN32
    /// The system font handle (HFONT); it stays owned by this object.
    HFONT__* SystemHandle() const noexcept;
#else
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
#endif

private:
    struct Impl;
    explicit PIX_PlatformFont(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> mImpl;
};

/// The handle form in which fonts are passed around (non-owning unless a
/// font is attached with kFontOwnsHandle).
using PIX_FontHandle = PIX_PlatformFont*;
