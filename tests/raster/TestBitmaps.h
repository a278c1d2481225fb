// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "raster/PIX_IBitmap.h"
#include "raster/PIX_MemBitmap.h"

namespace testing_raster {

/// A bitmap over a plain vector, stored top-down or bottom-up, so that tests
/// can check where rows land in memory.
class VectorBitmap final : public PIX_IBitmap {
public:
    VectorBitmap(int32_t width, int32_t height, bool bottomUp, uint32_t fill = 0)
        : mWidth(width), mHeight(height), mBottomUp(bottomUp), mData(size_t(width) * height, fill) {}
    uint32_t* Pixels() const noexcept override { return mData.empty() ? nullptr : const_cast<uint32_t*>(mData.data()); }
    int32_t Width() const noexcept override { return mWidth; }
    int32_t Height() const noexcept override { return mHeight; }
    int32_t RowStride() const noexcept override { return mWidth; }
    bool IsBottomUp() const noexcept override { return mBottomUp; }
    bool Resize(int32_t width, int32_t height) override
    {
        if (width == mWidth && height == mHeight) return false;
        mWidth = width;
        mHeight = height;
        mData.assign(size_t(width) * height, 0);
        return true;
    }
    /// Stored word of logical pixel (x, y).
    uint32_t& At(int32_t x, int32_t y) { return mData[size_t(mBottomUp ? mHeight - 1 - y : y) * mWidth + x]; }

private:
    int32_t mWidth, mHeight;
    bool mBottomUp;
    std::vector<uint32_t> mData;
};

/// A w x h in-memory bitmap with every pixel set to `word`.
inline std::unique_ptr<PIX_MemBitmap> Filled(int32_t w, int32_t h, uint32_t word)
{
    auto b = std::make_unique<PIX_MemBitmap>();
    b->Resize(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) b->Pixels()[y * b->RowStride() + x] = word;
    return b;
}

inline uint32_t PixelAt(const PIX_IBitmap& b, int32_t x, int32_t y)
{
    return b.Pixels()[y * b.RowStride() + x];
}

inline uint32_t& PixelRef(PIX_IBitmap& b, int32_t x, int32_t y)
{
    return b.Pixels()[y * b.RowStride() + x];
}

/// FNV-1a hash of every pixel word in row order (padding excluded).
inline uint64_t PixelHash(const PIX_IBitmap& b)
{
    uint64_t hash = 14695981039346656037ull;
    for (int32_t y = 0; y < b.Height(); ++y)
        for (int32_t x = 0; x < b.Width(); ++x) {
            const uint32_t word = PixelAt(b, x, y);
            for (int shift = 0; shift < 32; shift += 8) hash = (hash ^ ((word >> shift) & 255)) * 1099511628211ull;
        }
    return hash;
}

/// Builds a pixel word from its bytes.
constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace testing_raster
