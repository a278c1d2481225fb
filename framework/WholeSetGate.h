// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

/// Hands the audio thread the parameter values as one set. A writer that
/// changes many values at once (a state restore, a program change, a preset)
/// holds the gate while it writes; a reader learns whether a writer held it
/// while it read, and then keeps the set it took last. Writers of single
/// values (automation, a knob) need no gate: any mix of them is a set.
class WholeSetGate {
public:
    /// [ui] Holds the gate. Waits only while the audio thread holds it, which
    /// it does for a handful of stores and never across a wait.
    void Claim() noexcept
    {
        for (;;) {
            std::uint32_t free = mCount.load(std::memory_order_relaxed) & ~1u;
            if (mCount.compare_exchange_weak(free, free + 1, std::memory_order_acq_rel, std::memory_order_relaxed))
                return;
            std::this_thread::yield();
        }
    }

    /// [audio] Holds the gate if no other writer does; never waits.
    bool TryClaim() noexcept
    {
        std::uint32_t now = mCount.load(std::memory_order_relaxed);
        return (now & 1u) == 0 &&
               mCount.compare_exchange_strong(now, now + 1, std::memory_order_acq_rel, std::memory_order_relaxed);
    }

    /// [any] Lets the gate go after Claim or a successful TryClaim.
    void Release() noexcept { mCount.fetch_add(1, std::memory_order_release); }

    /// [audio] Runs `read` and tells whether no writer held the gate
    /// meanwhile (so what it read is one set). Never waits.
    template <typename Read>
    bool ReadWhole(Read&& read) const noexcept
    {
        const std::uint32_t before = mCount.load(std::memory_order_acquire);
        if ((before & 1u) != 0)
            return false;
        read();
        // A read-modify-write that changes nothing, ordered after the reads.
        return mCount.fetch_add(0, std::memory_order_release) == before;
    }

private:
    /// Odd while a writer holds the gate.
    mutable std::atomic<std::uint32_t> mCount{0};
};
