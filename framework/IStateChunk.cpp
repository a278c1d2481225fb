// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/IStateChunk.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::int64_t kPage = 4096;
constexpr std::int64_t kMaxGrowth = 4194304;
// Allocations end this many bytes short of a page multiple, leaving room for
// the allocator's own bookkeeping within whole pages.
constexpr std::int64_t kAllocatorSlack = 96;

// The allocation for a chunk of `size` bytes (> 0): about half as much again,
// at least one granule, rounded to pages for page-sized granularities.
std::int64_t AllocationFor(std::int64_t size, std::int64_t granularity) noexcept
{
    std::int64_t growth = std::max(size / 2, granularity);
    if (granularity >= kPage) {
        growth = std::clamp(growth / kPage * kPage, kPage, kMaxGrowth);
        return (size + kAllocatorSlack + growth) / kPage * kPage - kAllocatorSlack;
    }
    return size + growth;
}

}  // namespace

IStateChunk::IStateChunk(int granularity) noexcept : mGranularity(granularity) {}

bool IStateChunk::ResizeBuffer(int newSize, bool mayShrink) noexcept
{
    newSize = std::max(newSize, 0);
    if (newSize == mSize && (!mayShrink || newSize >= mAllocatedSize / 2)) {
        return true;
    }

    int threshold = 0;
    if (mayShrink && newSize < mSize) {
        threshold = std::max(1, std::min(mAllocatedSize / 2, mAllocatedSize - 4 * mGranularity));
    }

    if (newSize > mAllocatedSize || newSize < threshold) {
        if (newSize == 0) {
            if (mayShrink) {
                mData.reset();
                mAllocatedSize = 0;
            }
        } else {
            const std::int64_t allocation = AllocationFor(newSize, mGranularity);
            if (allocation > INT_MAX || allocation < newSize) {
                return false;
            }
            const auto bytes = static_cast<std::size_t>(allocation);
            auto* grown = static_cast<std::uint8_t*>(std::realloc(mData.get(), bytes));
            if (grown) {
                (void)mData.release();  // realloc already took over or freed the old block
                mData.reset(grown);
            } else {
                auto* fresh = static_cast<std::uint8_t*>(std::malloc(bytes));
                if (!fresh) {
                    return false;
                }
                if (mData) {
                    std::memcpy(fresh, mData.get(), static_cast<std::size_t>(std::min(mSize, newSize)));
                }
                mData.reset(fresh);
            }
            mAllocatedSize = static_cast<int>(allocation);
        }
    }
    mSize = newSize;
    return true;
}

int IStateChunk::PutBytes(const void* bytes, int size) noexcept
{
    if (size <= 0 || mSize > INT_MAX - size) {
        return mSize;
    }
    const int position = mSize;
    if (!ResizeBuffer(mSize + size, true)) {
        return mSize;
    }
    std::memcpy(mData.get() + position, bytes, static_cast<std::size_t>(size));
    return mSize;
}

int IStateChunk::GetBytes(void* bytes, int size, int position) const noexcept
{
    if (position < 0 || size < 0 || position > mSize - size) {
        return -1;
    }
    if (size > 0) {
        std::memcpy(bytes, mData.get() + position, static_cast<std::size_t>(size));
    }
    return position + size;
}
