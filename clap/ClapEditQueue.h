// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"

#include <atomic>
#include <cstdint>
#include <memory>

/// Editor edits waiting to be told to the host, merged per parameter: of a
/// parameter's edits since the last drain the host hears a gesture's begin,
/// the latest value and a gesture's end, in that order, however many edits
/// came. Nothing is ever dropped: a gesture's end and its final value always
/// arrive. A gesture that begins again before its end was told simply stays
/// open. One producer (the editor, on the user-interface thread) and one
/// consumer at a time (process on the audio thread, or flush on the main
/// thread while not processing); lock-free, no allocation after construction.
class ClapEditQueue {
public:
    /// [ui] Room for parameters 0 .. paramCount - 1.
    explicit ClapEditQueue(int paramCount);

    /// [ui] Records one edit (CLAP_EVENT_PARAM_GESTURE_BEGIN / _END or
    /// CLAP_EVENT_PARAM_VALUE); false for an unknown parameter or type.
    bool Push(uint16_t type, clap_id paramId, double plainValue) noexcept;

    /// [audio] or [main, not processing] Moves every recorded edit into
    /// `out` at sample offset 0. An edit the host does not take stays.
    void DrainInto(const clap_output_events_t* out) noexcept;

private:
    static constexpr uint32_t kBegin = 1;
    static constexpr uint32_t kValue = 2;
    static constexpr uint32_t kEnd = 4;

    struct Slot {
        std::atomic<uint32_t> pending{0};
        std::atomic<double> value{0.0};
    };

    /// [consumer] Tells the host one edit; false when it does not take it.
    static bool Send(const clap_output_events_t& out, uint16_t type, clap_id paramId, double value) noexcept;

    int mCount;
    std::unique_ptr<Slot[]> mSlots;
};
