// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "raster/PIX_IBitmap.h"

/// The bitmap the platform draws into and copies out of: the editor's
/// drawing surface and the text layer's scratch surfaces. Its drawing
/// context holds the pixels (on Windows a DIB section selected into the
/// context) and draws text into them; the window host copies them to the
/// screen. The storage, allocated with its width rounded up to 4 pixels
/// (that width is the row stride), is reused while the bitmap shrinks and
/// replaced when it grows; new storage is cleared. [ui]
class PIX_SysBitmap final : public PIX_IBitmap {
public:
    /// 0 x 0 without storage, with a fresh drawing context (none if the
    /// system refuses one: the bitmap then stays without storage).
    PIX_SysBitmap();
    ~PIX_SysBitmap() override;
    PIX_SysBitmap(const PIX_SysBitmap&) = delete;
    PIX_SysBitmap& operator=(const PIX_SysBitmap&) = delete;

    uint32_t* Pixels() const noexcept override { return mPixels; }
    int32_t Width() const noexcept override { return mWidth; }
    int32_t Height() const noexcept override { return mHeight; }
    int32_t RowStride() const noexcept override { return mAllocWidth; }
    /// False when the size is the current one, when there is no drawing
    /// context, or when it leaves the bitmap without storage (Resize(0, 0)
    /// releases it); true otherwise. If the storage cannot be obtained the
    /// bitmap is 0 x 0.
    bool Resize(int32_t width, int32_t height) override;
    PIX_DrawContext* DeviceContext() noexcept override { return mContext.get(); }

private:
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    std::unique_ptr<PIX_DrawContext> mContext;
    uint32_t* mPixels = nullptr;
    int32_t mAllocWidth = 0;
    int32_t mAllocHeight = 0;
};
