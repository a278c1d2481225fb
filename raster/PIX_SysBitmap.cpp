// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_SysBitmap.h"

#include "raster/PIX_DrawContext.h"

PIX_SysBitmap::PIX_SysBitmap() : mContext(PIX_DrawContext::Create(*this)) {}

// The context releases the storage it holds.
PIX_SysBitmap::~PIX_SysBitmap() = default;

bool PIX_SysBitmap::Resize(int32_t width, int32_t height)
{
    if (!mContext) {
        mWidth = 0;
        mHeight = 0;
        mPixels = nullptr;
        return false;
    }
    if (width == mWidth && height == mHeight) return false;
    mWidth = width;
    mHeight = height;
    // Shrinking (or returning to an earlier size) keeps the storage; the row
    // stride stays the allocated width.
    if (width != 0 && height != 0 && mAllocWidth >= width && mAllocHeight >= height && mPixels)
        return true;

    mAllocHeight = height;
    mAllocWidth = static_cast<int32_t>((static_cast<uint32_t>(width) + 3u) & ~3u);
    mContext->ReleaseStorage();
    mPixels = nullptr;
    if (mAllocWidth < 1 || height < 1) return false;

    mPixels = mContext->CreateStorage(mAllocWidth, height, IsBottomUp());
    if (!mPixels) {
        mWidth = 0;
        mHeight = 0;
    }
    return true;
}
