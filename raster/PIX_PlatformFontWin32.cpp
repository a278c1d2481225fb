// SPDX-License-Identifier: GPL-3.0-or-later
// System fonts on Windows: a font handle made by the system's font mapper.
#include "raster/PIX_PlatformFont.h"

#include <windows.h>

struct PIX_PlatformFont::Impl {
    HFONT font = nullptr;
    ~Impl()
    {
        if (font) DeleteObject(font);
    }
};

namespace {

DWORD OutputQuality(const PIX_FontSpec& wanted)
{
    if (!wanted.antialiased) return NONANTIALIASED_QUALITY;
    switch (wanted.smoothing) {
    case PIX_FontSmoothing::kStandard: return ANTIALIASED_QUALITY;
    case PIX_FontSmoothing::kClearType: return CLEARTYPE_QUALITY;
    case PIX_FontSmoothing::kSystemDefault: break;
    }
    return DEFAULT_QUALITY;
}

}  // namespace

PIX_PlatformFont::PIX_PlatformFont(std::unique_ptr<Impl> impl) : mImpl(std::move(impl)) {}
PIX_PlatformFont::~PIX_PlatformFont() = default;

std::unique_ptr<PIX_PlatformFont> PIX_PlatformFont::Create(const PIX_FontSpec& wanted)
{
    auto impl = std::make_unique<Impl>();
    // The text line and the glyphs turn together, in tenths of a degree.
    const int angle = wanted.orientation * 10;
    impl->font = CreateFontA(wanted.height, 0, angle, angle, wanted.weight, wanted.italic ? TRUE : FALSE, FALSE, FALSE,
                             0, 0, 0, OutputQuality(wanted), 0, wanted.face.c_str());
    if (!impl->font) return nullptr;
    return std::unique_ptr<PIX_PlatformFont>(new PIX_PlatformFont(std::move(impl)));
}

HFONT__* PIX_PlatformFont::SystemHandle() const noexcept
{
    return mImpl->font;
}
