// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux drawing context: pixel storage on the heap, text rasterised by
// the system font (FreeType) and blended into the pixels by the library.
#include "raster/PIX_DrawContext.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "raster/PIX_IBitmap.h"
#include "raster/PIX_TextFormat.h"
#include "raster/PIX_Utf8.h"

namespace {

// Blends one channel toward `to` by coverage 0..255, rounding.
inline uint32_t Mix(uint32_t from, uint32_t to, uint32_t coverage)
{
    return (from * (255 - coverage) + to * coverage + 127) / 255;
}

}  // namespace

struct PIX_DrawContext::Impl {
    explicit Impl(const PIX_IBitmap& target) noexcept : target(target) {}
    const PIX_IBitmap& target;
    uint32_t* storage = nullptr;
    PIX_FontHandle font = nullptr;
    uint32_t textColor = 0;
    uint32_t bkColor = 0xFFFFFF;
    int32_t bkMode = 2;
};

std::unique_ptr<PIX_DrawContext> PIX_DrawContext::Create(const PIX_IBitmap& target)
{
    return std::unique_ptr<PIX_DrawContext>(new PIX_DrawContext(std::make_unique<Impl>(target)));
}

PIX_DrawContext::PIX_DrawContext(std::unique_ptr<Impl> impl) noexcept : mImpl(std::move(impl)) {}

PIX_DrawContext::~PIX_DrawContext()
{
    ReleaseStorage();
}

uint32_t* PIX_DrawContext::CreateStorage(int32_t width, int32_t height, bool /*bottomUp*/) noexcept
{
    ReleaseStorage();
    if (width < 1 || height < 1) return nullptr;
    const uint64_t bytes = uint64_t(width) * uint64_t(height) * 4u;
    if (bytes > INT32_MAX) return nullptr;
    // Rows start 16-byte aligned like the in-memory bitmaps (the widths asked
    // for are multiples of 4 pixels); the size is a multiple of 64 as
    // aligned_alloc needs.
    mImpl->storage = static_cast<uint32_t*>(std::aligned_alloc(64, (bytes + 63) & ~uint64_t(63)));
    // New storage starts black and transparent, as the system's sections do:
    // the window host may show it before anything is drawn.
    if (mImpl->storage) std::memset(mImpl->storage, 0, size_t(bytes));
    return mImpl->storage;
}

void PIX_DrawContext::ReleaseStorage() noexcept
{
    std::free(mImpl->storage);
    mImpl->storage = nullptr;
}

HDC__* PIX_DrawContext::SystemHandle() const noexcept
{
    return nullptr;
}

PIX_FontHandle PIX_DrawContext::SelectFont(PIX_FontHandle font) noexcept
{
    return std::exchange(mImpl->font, font);
}

PIX_FontHandle PIX_DrawContext::SelectedFont() const noexcept
{
    return mImpl->font;
}

uint32_t PIX_DrawContext::SetTextColor(uint32_t rgb) noexcept
{
    return std::exchange(mImpl->textColor, rgb & 0xFFFFFFu);
}

int32_t PIX_DrawContext::SetBkMode(int32_t mode) noexcept
{
    return std::exchange(mImpl->bkMode, mode);
}

uint32_t PIX_DrawContext::SetBkColor(uint32_t rgb) noexcept
{
    return std::exchange(mImpl->bkColor, rgb & 0xFFFFFFu);
}

int32_t PIX_DrawContext::LineHeight() const noexcept
{
    return mImpl->font ? mImpl->font->Height() : 0;
}

int32_t PIX_DrawContext::DrawBytes(const char* text, int32_t length, PIX_Rect& rect, uint32_t format) noexcept
{
    pix::CodePointText codePoints;
    try {
        pix::DecodeBytes(text, length, codePoints);
    } catch (...) {
        return 0;
    }
    return DrawCodePoints(codePoints.Data(), codePoints.Size(), rect, format);
}

int32_t PIX_DrawContext::DrawCodePoints(const char32_t* text, int32_t length, PIX_Rect& rect, uint32_t format) noexcept
{
    const PIX_FontHandle font = mImpl->font;
    if (!font || !text || length <= 0) {
        if (format & DT_CALCRECT) {
            rect.right = rect.left;
            rect.bottom = rect.top;
        }
        return 0;
    }
    const int32_t lineHeight = font->Height();
    const bool singleLine = (format & DT_SINGLELINE) != 0;

    // Lines and their widths. Without DT_SINGLELINE a line feed ends a line;
    // carriage returns and other control characters have no width.
    auto lineEnd = [&](int32_t begin, int32_t& width) {
        width = 0;
        int32_t i = begin;
        for (; i < length && !(text[i] == U'\n' && !singleLine); ++i) width += font->Advance(text[i]);
        return i;
    };
    int32_t lineCount = 1;
    int32_t maxWidth = 0;
    for (int32_t begin = 0;;) {
        int32_t width = 0;
        const int32_t end = lineEnd(begin, width);
        maxWidth = std::max(maxWidth, width);
        if (end >= length) break;
        begin = end + 1;
        ++lineCount;
    }
    const int32_t textHeight = lineCount * lineHeight;

    if (format & DT_CALCRECT) {
        rect.right = rect.left + maxWidth;
        rect.bottom = rect.top + textHeight;
        return textHeight;
    }

    int32_t top = rect.top;
    if (singleLine && (format & DT_VCENTER)) top = rect.top + (rect.bottom - rect.top - lineHeight) / 2;
    else if (singleLine && (format & DT_BOTTOM)) top = rect.bottom - lineHeight;
    const int32_t result = (singleLine && (format & (DT_VCENTER | DT_BOTTOM))) ? top + lineHeight - rect.top : textHeight;

    uint32_t* pixels = mImpl->target.Pixels();
    if (!pixels) return result;
    // Where drawing may touch: the bitmap, and the rectangle unless DT_NOCLIP.
    PIX_Rect clip{0, 0, mImpl->target.Width(), mImpl->target.Height()};
    if (!(format & DT_NOCLIP)) {
        clip.left = std::max(clip.left, rect.left);
        clip.top = std::max(clip.top, rect.top);
        clip.right = std::min(clip.right, rect.right);
        clip.bottom = std::min(clip.bottom, rect.bottom);
    }
    if (clip.right <= clip.left || clip.bottom <= clip.top) return result;
    // The bitmaps that carry a context are stored top-down.
    const int32_t stride = mImpl->target.RowStride();
    const uint32_t bk = mImpl->bkColor | 0xFF000000u;

    int32_t begin = 0;
    for (int32_t l = 0; l < lineCount; ++l) {
        int32_t lineWidth = 0;
        const int32_t end = lineEnd(begin, lineWidth);
        int32_t x = rect.left;
        if (format & DT_CENTER) x = rect.left + (rect.right - rect.left - lineWidth) / 2;
        else if (format & DT_RIGHT) x = rect.right - lineWidth;
        const int32_t y = top + l * lineHeight;

        if (mImpl->bkMode == kBkModeOpaque) {
            const int32_t x0 = std::max(x, clip.left), x1 = std::min(x + lineWidth, clip.right);
            const int32_t y0 = std::max(y, clip.top), y1 = std::min(y + lineHeight, clip.bottom);
            for (int32_t py = y0; py < y1; ++py)
                std::fill(pixels + ptrdiff_t(py) * stride + x0, pixels + ptrdiff_t(py) * stride + std::max(x0, x1), bk);
        }

        const int32_t baseline = y + font->Ascent();
        int32_t pen = x;
        for (int32_t i = begin; i < end; ++i) {
            PIX_PlatformFont::Coverage glyph;
            if (font->RenderGlyph(text[i], glyph)) {
                const int32_t gx = pen + glyph.left, gy = baseline - glyph.top;
                const int32_t x0 = std::max(gx, clip.left), x1 = std::min(gx + glyph.width, clip.right);
                const int32_t y0 = std::max(gy, clip.top), y1 = std::min(gy + glyph.height, clip.bottom);
                for (int32_t py = y0; py < y1; ++py) {
                    const uint8_t* cov = glyph.rows + ptrdiff_t(py - gy) * glyph.pitch;
                    uint32_t* row = pixels + ptrdiff_t(py) * stride;
                    for (int32_t px = x0; px < x1; ++px) {
                        const uint32_t c = cov[px - gx];
                        if (c == 0) continue;
                        const uint32_t d = row[px];
                        row[px] = (Mix(d >> 24, 255, c) << 24) | (Mix((d >> 16) & 255, (mImpl->textColor >> 16) & 255, c) << 16) |
                                  (Mix((d >> 8) & 255, (mImpl->textColor >> 8) & 255, c) << 8) | Mix(d & 255, mImpl->textColor & 255, c);
                    }
                }
            }
            pen += font->Advance(text[i]);
        }
        begin = end + 1;
    }
    return result;
}
