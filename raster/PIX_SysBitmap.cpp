// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_SysBitmap.h"

#include <cstdlib>
#include <cstring>

#include "raster/PIX_DrawContext.h"

PIX_SysBitmap::PIX_SysBitmap() : mContext(std::make_unique<PIX_DrawContext>(*this)) {}

PIX_SysBitmap::~PIX_SysBitmap()
{
    ReleaseStorage();
}

void PIX_SysBitmap::ReleaseStorage() noexcept
{
    std::free(mPixels);
    mPixels = nullptr;
}

bool PIX_SysBitmap::Resize(int32_t width, int32_t height)
{
    if (width == mWidth && height == mHeight) return false;
    mWidth = width;
    mHeight = height;
    // Shrinking (or returning to an earlier size) keeps the storage; the row
    // stride stays the allocated width.
    if (width != 0 && height != 0 && mAllocWidth >= width && mAllocHeight >= height && mPixels)
        return true;

    mAllocHeight = height;
    mAllocWidth = static_cast<int32_t>((static_cast<uint32_t>(width) + 3u) & ~3u);
    ReleaseStorage();
    if (mAllocWidth < 1 || height < 1) return false;

    const uint64_t bytes = uint64_t(mAllocWidth) * uint64_t(height) * 4u;
    // Rows start 16-byte aligned like the in-memory bitmaps (stride is a
    // multiple of 4 pixels); the size is a multiple of 16 as aligned_alloc needs.
    mPixels = bytes <= INT32_MAX ? static_cast<uint32_t*>(std::aligned_alloc(64, (bytes + 63) & ~uint64_t(63)))
                                 : nullptr;
    if (!mPixels) {
        mWidth = 0;
        mHeight = 0;
        return true;
    }
    // A new section starts black and transparent, as the system's do: the
    // window host may show it before anything is drawn.
    std::memset(mPixels, 0, size_t(bytes));
    return true;
}
