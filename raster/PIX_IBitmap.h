// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class PIX_DrawContext;

/// A bitmap of 32-bit pixels 0xAARRGGBB (bytes blue, green, red, alpha in
/// memory), straight alpha. Pixel (x, y) of a top-down bitmap is element
/// y * RowStride() + x of Pixels(); a bottom-up bitmap stores row y as row
/// Height() - 1 - y. All operations are [ui]: bitmaps carry no lock.
/// The creator owns a bitmap and deletes it through the virtual destructor.
class PIX_IBitmap {
public:
    virtual ~PIX_IBitmap() = default;

    /// First stored row, or null when the bitmap has no storage. Constness is
    /// shallow: a const bitmap still hands out its writable pixels.
    virtual uint32_t* Pixels() const noexcept = 0;
    /// Width in pixels.
    virtual int32_t Width() const noexcept = 0;
    /// Height in pixels.
    virtual int32_t Height() const noexcept = 0;
    /// Distance in pixels between the starts of consecutive stored rows.
    virtual int32_t RowStride() const noexcept = 0;
    /// True when rows are stored bottom row first.
    virtual bool IsBottomUp() const noexcept { return false; }
    /// Changes the size; the result's meaning is per implementation. Pixel
    /// contents afterwards are unspecified.
    virtual bool Resize(int32_t width, int32_t height) = 0;
    /// Drawing context through which the platform text layer draws into this
    /// bitmap, or null. Owned by the bitmap.
    virtual PIX_DrawContext* DeviceContext() noexcept { return nullptr; }
    /// Query for optional capabilities by identifier; nothing is offered.
    virtual intptr_t Extension(uint32_t /*id*/, void* /*arg*/) noexcept { return 0; }
};
