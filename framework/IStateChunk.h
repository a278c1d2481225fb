// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <type_traits>

/// A growable byte buffer into which values are appended as their raw
/// in-memory (little-endian) bytes, with no header or length prefix.
/// Reads return the position after the value, or -1 if the data ran out.
///
/// Owned by whoever made it (a preset slot, or a caller's local). Growth
/// allocates, so appending belongs on the user-interface thread; reading is
/// allocation-free and safe on the audio thread.
class IStateChunk {
public:
    static constexpr int kDefaultGranularity = 4096;

    explicit IStateChunk(int granularity = kDefaultGranularity) noexcept;
    IStateChunk(const IStateChunk&) = delete;
    IStateChunk& operator=(const IStateChunk&) = delete;

    /// [ui] Makes the chunk hold `newSize` bytes (negative counts as 0),
    /// reallocating only when the allocation is exceeded or, with `mayShrink`,
    /// when the size falls well below it. New bytes are uninitialised.
    /// Returns false, leaving the chunk unchanged, if memory ran out.
    bool ResizeBuffer(int newSize, bool mayShrink) noexcept;

    /// [ui] Appends `size` bytes; returns the new size (unchanged on failure).
    int PutBytes(const void* bytes, int size) noexcept;
    /// [any] Copies `size` bytes at `position` into `bytes`; returns
    /// position + size, or -1 (leaving `bytes` untouched) if they are not all there.
    int GetBytes(void* bytes, int size, int position) const noexcept;

    /// [ui] Appends the value's bytes; returns the new size.
    template <typename T>
    int PutValue(const T& value) noexcept
    {
        static_assert(std::is_trivially_copyable_v<T>);
        return PutBytes(&value, static_cast<int>(sizeof(T)));
    }
    /// [any] Reads a value at `position`; returns the next position or -1.
    template <typename T>
    int GetValue(T& value, int position) const noexcept
    {
        static_assert(std::is_trivially_copyable_v<T>);
        return GetBytes(&value, static_cast<int>(sizeof(T)), position);
    }

    /// [any] The bytes in use (nullptr when nothing was ever allocated).
    const std::uint8_t* Data() const noexcept { return mData.get(); }
    std::uint8_t* Data() noexcept { return mData.get(); }
    int Size() const noexcept { return mSize; }
    int AllocatedSize() const noexcept { return mAllocatedSize; }
    int Granularity() const noexcept { return mGranularity; }

private:
    struct FreeDeleter {
        void operator()(std::uint8_t* p) const noexcept { std::free(p); }
    };

    std::unique_ptr<std::uint8_t, FreeDeleter> mData;
    int mAllocatedSize = 0;
    int mSize = 0;
    int mGranularity;
};
