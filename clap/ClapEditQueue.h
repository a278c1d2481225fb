// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"

#include <array>
#include <atomic>
#include <cstdint>

/// Editor edits waiting to be told to the host: gesture begin, value and
/// gesture end, in the order they happened. One producer (the editor, on the
/// user-interface thread) and one consumer at a time (process on the audio
/// thread, or flush on the main thread while not processing); lock-free, no
/// allocation. When full, further edits are dropped: the plug-in already
/// holds their values, only the host's recording of them is lost.
class ClapEditQueue {
public:
    /// [ui] Queues one edit; false when the queue is full.
    bool Push(uint16_t type, clap_id paramId, double plainValue) noexcept;

    /// [audio] or [main, not processing] Moves every queued edit into `out`
    /// as CLAP_EVENT_PARAM_GESTURE_BEGIN / _END or CLAP_EVENT_PARAM_VALUE at
    /// sample offset 0. An edit the host does not take stays queued.
    void DrainInto(const clap_output_events_t* out) noexcept;

private:
    struct Edit {
        uint16_t type = 0;
        clap_id paramId = 0;
        double value = 0.0;
    };
    static constexpr uint32_t kCapacity = 256;

    std::array<Edit, kCapacity> mEdits{};
    std::atomic<uint32_t> mHead{0}; ///< next to read (consumer)
    std::atomic<uint32_t> mTail{0}; ///< next to write (producer)
};
