// SPDX-License-Identifier: GPL-3.0-or-later
#include "clap/ClapEditQueue.h"

ClapEditQueue::ClapEditQueue(int paramCount)
    : mCount(paramCount > 0 ? paramCount : 0), mSlots(new Slot[static_cast<std::size_t>(mCount)])
{
}

bool ClapEditQueue::Push(uint16_t type, clap_id paramId, double plainValue) noexcept
{
    if (paramId >= static_cast<clap_id>(mCount))
        return false;
    Slot& slot = mSlots[paramId];
    switch (type) {
    case CLAP_EVENT_PARAM_GESTURE_BEGIN:
        // An end not yet told and a new begin cancel out: the gesture goes on.
        if ((slot.pending.fetch_and(~kEnd, std::memory_order_acq_rel) & kEnd) == 0)
            slot.pending.fetch_or(kBegin, std::memory_order_release);
        return true;
    case CLAP_EVENT_PARAM_VALUE:
        slot.value.store(plainValue, std::memory_order_relaxed);
        slot.pending.fetch_or(kValue, std::memory_order_release);
        return true;
    case CLAP_EVENT_PARAM_GESTURE_END:
        slot.pending.fetch_or(kEnd, std::memory_order_release);
        return true;
    default:
        return false;
    }
}

bool ClapEditQueue::Send(const clap_output_events_t& out, uint16_t type, clap_id paramId, double value) noexcept
{
    if (type == CLAP_EVENT_PARAM_VALUE) {
        clap_event_param_value_t event{};
        event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
        event.param_id = paramId;
        event.note_id = -1;
        event.port_index = -1;
        event.channel = -1;
        event.key = -1;
        event.value = value;
        return out.try_push(&out, &event.header);
    }
    clap_event_param_gesture_t event{};
    event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
    event.param_id = paramId;
    return out.try_push(&out, &event.header);
}

void ClapEditQueue::DrainInto(const clap_output_events_t* out) noexcept
{
    if (out == nullptr || out->try_push == nullptr)
        return;
    for (int i = 0; i < mCount; ++i) {
        Slot& slot = mSlots[i];
        if (slot.pending.load(std::memory_order_relaxed) == 0)
            continue;
        const uint32_t taken = slot.pending.exchange(0, std::memory_order_acquire);
        // A value stored after the flag was taken is told now and again at
        // the next drain: the host always ends at the latest.
        const double value = slot.value.load(std::memory_order_relaxed);
        const auto id = static_cast<clap_id>(i);
        uint32_t left = taken;
        if ((left & kBegin) != 0 && Send(*out, CLAP_EVENT_PARAM_GESTURE_BEGIN, id, 0.0))
            left &= ~kBegin;
        if ((left & (kBegin | kValue)) == kValue && Send(*out, CLAP_EVENT_PARAM_VALUE, id, value))
            left &= ~kValue;
        if ((left & (kBegin | kValue | kEnd)) == kEnd && Send(*out, CLAP_EVENT_PARAM_GESTURE_END, id, 0.0))
            left &= ~kEnd;
        // What the host did not take waits for the next drain, in order.
        if (left != 0)
            slot.pending.fetch_or(left, std::memory_order_release);
    }
}
