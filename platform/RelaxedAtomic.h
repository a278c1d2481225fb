// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

/// A plain value that the audio thread and the user-interface thread share
/// without a lock: every read and write is a relaxed atomic access, so the two
/// never race and neither ever waits. Read-modify-write (`+=`) is a load then
/// a store: a concurrent write may win, which a display value can afford.
template <typename T>
class RelaxedAtomic {
public:
    RelaxedAtomic(T value = T()) noexcept : mValue(value) {}
    RelaxedAtomic(const RelaxedAtomic& other) noexcept : mValue(other.Load()) {}
    RelaxedAtomic& operator=(const RelaxedAtomic& other) noexcept { return *this = other.Load(); }
    RelaxedAtomic& operator=(T value) noexcept
    {
        mValue.store(value, std::memory_order_relaxed);
        return *this;
    }
    RelaxedAtomic& operator+=(T delta) noexcept { return *this = Load() + delta; }

    T Load() const noexcept { return mValue.load(std::memory_order_relaxed); }
    operator T() const noexcept { return Load(); }

private:
    static_assert(std::atomic<T>::is_always_lock_free, "shared with the audio thread, so never a hidden lock");
    std::atomic<T> mValue;
};
