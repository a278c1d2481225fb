// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows drawing context: a memory device context with the bitmap's
// DIB section selected into it; text is drawn by the system.
#include "raster/PIX_DrawContext.h"

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

#include "raster/PIX_TextFormat.h"

namespace {

// Pixel words are 0x00RRGGBB; the system's colour values 0x00BBGGRR.
COLORREF ToColorRef(uint32_t rgb)
{
    return RGB((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255);
}

uint32_t FromColorRef(COLORREF c)
{
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

RECT ToRect(const PIX_Rect& r)
{
    return RECT{r.left, r.top, r.right, r.bottom};
}

// Short texts are widened on the stack, longer ones on the heap.
constexpr int32_t kStackUnits = 1024;
constexpr int32_t kStackLimit = 1000;

}  // namespace

struct PIX_DrawContext::Impl {
    HDC dc = nullptr;
    HBITMAP section = nullptr;
    HGDIOBJ previousSelection = nullptr;
    HGDIOBJ ownFont = nullptr;  // the device context's font before any was selected
    PIX_FontHandle font = nullptr;

    // Runs a system drawing call on `rect`. The system may batch drawing;
    // the library reads and writes the pixels directly right after, so the
    // batch is flushed first.
    template <class Draw>
    int32_t Run(PIX_Rect& rect, uint32_t format, Draw&& draw)
    {
        RECT r = ToRect(rect);
        const int32_t result = draw(&r, UINT(format));
        GdiFlush();
        if (format & DT_CALCRECT) rect = PIX_Rect{r.left, r.top, r.right, r.bottom};
        return result;
    }
};

std::unique_ptr<PIX_DrawContext> PIX_DrawContext::Create(const PIX_IBitmap& /*target*/)
{
    auto impl = std::make_unique<Impl>();
    impl->dc = CreateCompatibleDC(nullptr);
    if (!impl->dc) return nullptr;
    impl->ownFont = GetCurrentObject(impl->dc, OBJ_FONT);
    return std::unique_ptr<PIX_DrawContext>(new PIX_DrawContext(std::move(impl)));
}

PIX_DrawContext::PIX_DrawContext(std::unique_ptr<Impl> impl) noexcept : mImpl(std::move(impl)) {}

PIX_DrawContext::~PIX_DrawContext()
{
    ReleaseStorage();
    if (mImpl->font) SelectObject(mImpl->dc, mImpl->ownFont);
    DeleteDC(mImpl->dc);
}

uint32_t* PIX_DrawContext::CreateStorage(int32_t width, int32_t height, bool bottomUp) noexcept
{
    ReleaseStorage();
    if (width < 1 || height < 1 || uint64_t(width) * uint64_t(height) * 4u > INT32_MAX) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = bottomUp ? height : -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!section || !pixels) {
        if (section) DeleteObject(section);
        return nullptr;
    }
    mImpl->section = section;
    mImpl->previousSelection = SelectObject(mImpl->dc, section);
    // Cleared explicitly: the window host may show a section before
    // anything is drawn, and the library's own storage starts cleared too.
    std::memset(pixels, 0, size_t(width) * size_t(height) * 4u);
    return static_cast<uint32_t*>(pixels);
}

void PIX_DrawContext::ReleaseStorage() noexcept
{
    if (mImpl->previousSelection) {
        SelectObject(mImpl->dc, mImpl->previousSelection);
        mImpl->previousSelection = nullptr;
    }
    if (mImpl->section) DeleteObject(mImpl->section);
    mImpl->section = nullptr;
}

HDC__* PIX_DrawContext::SystemHandle() const noexcept
{
    return mImpl->dc;
}

PIX_FontHandle PIX_DrawContext::SelectFont(PIX_FontHandle font) noexcept
{
    SelectObject(mImpl->dc, font ? HGDIOBJ(font->SystemHandle()) : mImpl->ownFont);
    return std::exchange(mImpl->font, font);
}

PIX_FontHandle PIX_DrawContext::SelectedFont() const noexcept
{
    return mImpl->font;
}

uint32_t PIX_DrawContext::SetTextColor(uint32_t rgb) noexcept
{
    return FromColorRef(::SetTextColor(mImpl->dc, ToColorRef(rgb)));
}

int32_t PIX_DrawContext::SetBkMode(int32_t mode) noexcept
{
    return ::SetBkMode(mImpl->dc, mode);
}

uint32_t PIX_DrawContext::SetBkColor(uint32_t rgb) noexcept
{
    return FromColorRef(::SetBkColor(mImpl->dc, ToColorRef(rgb)));
}

int32_t PIX_DrawContext::LineHeight() const noexcept
{
    TEXTMETRICA metrics{};
    if (!mImpl->font || !GetTextMetricsA(mImpl->dc, &metrics)) return 0;
    return metrics.tmHeight;
}

int32_t PIX_DrawContext::DrawCodePoints(const char32_t* text, int32_t length, PIX_Rect& rect, uint32_t format) noexcept
{
    if (!text || length < 0) length = 0;
    // UTF-16: code points above the basic plane take two units.
    int32_t units = 0;
    for (int32_t i = 0; i < length; ++i) units += text[i] > 0xFFFF ? 2 : 1;
    wchar_t stackBuffer[kStackUnits];
    std::vector<wchar_t> heapBuffer;
    wchar_t* wide = stackBuffer;
    if (units >= kStackLimit) {
        try {
            heapBuffer.resize(size_t(units) + 32);
        } catch (...) {
            return 0;
        }
        wide = heapBuffer.data();
    }
    wchar_t* out = wide;
    for (int32_t i = 0; i < length; ++i) {
        const char32_t c = text[i];
        if (c > 0xFFFF) {
            *out++ = wchar_t(0xD800 + ((c - 0x10000) >> 10));
            *out++ = wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            *out++ = wchar_t(c);
        }
    }
    return mImpl->Run(rect, format, [&](RECT* r, UINT f) { return ::DrawTextW(mImpl->dc, wide, units, r, f); });
}

int32_t PIX_DrawContext::DrawBytes(const char* text, int32_t length, PIX_Rect& rect, uint32_t format) noexcept
{
    if (!text || length < 0) length = 0;
    return mImpl->Run(rect, format, [&](RECT* r, UINT f) { return ::DrawTextA(mImpl->dc, text, length, r, f); });
}
