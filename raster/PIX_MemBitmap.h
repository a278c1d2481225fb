// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/PIX_IBitmap.h"

/// A bitmap whose pixels live in one heap block: rows start on a 64-byte
/// boundary and are padded to a multiple of 4 pixels; the block only grows
/// (with 25 % headroom) until a Resize to a non-positive size frees it.
/// The PNG loader returns images in this form. [ui]
class PIX_MemBitmap final : public PIX_IBitmap {
public:
    /// Empty: 0 x 0, no storage. Creators that know the size call Resize.
    PIX_MemBitmap() = default;
    ~PIX_MemBitmap() override;
    PIX_MemBitmap(const PIX_MemBitmap&) = delete;
    PIX_MemBitmap& operator=(const PIX_MemBitmap&) = delete;

    uint32_t* Pixels() const noexcept override;
    int32_t Width() const noexcept override { return mWidth; }
    int32_t Height() const noexcept override { return mHeight; }
    int32_t RowStride() const noexcept override;
    /// False (and nothing changes) when the size is the current one; true
    /// otherwise. Without storage afterwards (nothing needed, or the heap
    /// refused) the bitmap is 0 x 0.
    bool Resize(int32_t width, int32_t height) override;

    /// Bytes of pixel storage the block holds (not counting alignment slack).
    int32_t Capacity() const noexcept { return mCapacity; }

private:
    void* mStorage = nullptr;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    int32_t mCapacity = 0;
    uint32_t mRowMask = 3;
};
