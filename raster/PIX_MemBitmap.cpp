// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_MemBitmap.h"

#include <cstdlib>

namespace {
// Every block is this much larger than its pixels so that a 64-byte-aligned
// start always fits.
constexpr int32_t kAlignSlack = 63;
}  // namespace

PIX_MemBitmap::~PIX_MemBitmap()
{
    std::free(mStorage);
}

uint32_t* PIX_MemBitmap::Pixels() const noexcept
{
    if (!mStorage) return nullptr;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(mStorage) + kAlignSlack) & ~uintptr_t(kAlignSlack);
    return reinterpret_cast<uint32_t*>(start);
}

int32_t PIX_MemBitmap::RowStride() const noexcept
{
    return static_cast<int32_t>((static_cast<uint32_t>(mWidth) + mRowMask) & ~mRowMask);
}

bool PIX_MemBitmap::Resize(int32_t width, int32_t height)
{
    if (width == mWidth && height == mHeight) return false;
    mWidth = width;
    mHeight = height;
    // 64-bit product: a huge request must fail to allocate, not wrap to a
    // small block that the rows then overrun.
    const int64_t need = int64_t(height) * RowStride() * 4;
    if (need > 0 && width >= 1 && height >= 1 && need <= INT32_MAX - kAlignSlack) {
        const int32_t need32 = static_cast<int32_t>(need);
        if (!mStorage) {
            mCapacity = need32;
            mStorage = std::malloc(size_t(need32) + kAlignSlack);
        } else if (mCapacity < need32) {
            const int64_t grown = int64_t(need32) + need32 / 4;
            mCapacity = grown <= INT32_MAX - kAlignSlack ? static_cast<int32_t>(grown) : need32;
            void* moved = std::realloc(mStorage, size_t(mCapacity) + kAlignSlack);
            if (moved) {
                mStorage = moved;
            } else {
                std::free(mStorage);
                mCapacity = need32;
                mStorage = std::malloc(size_t(need32) + kAlignSlack);
            }
        }
    } else {
        std::free(mStorage);
        mStorage = nullptr;
        mCapacity = 0;
    }
    if (!mStorage) {
        mWidth = 0;
        mHeight = 0;
        mCapacity = 0;
    }
    return true;
}
