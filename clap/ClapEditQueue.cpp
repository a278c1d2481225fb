// SPDX-License-Identifier: GPL-3.0-or-later
#include "clap/ClapEditQueue.h"

bool ClapEditQueue::Push(uint16_t type, clap_id paramId, double plainValue) noexcept
{
    const uint32_t tail = mTail.load(std::memory_order_relaxed);
    if (tail - mHead.load(std::memory_order_acquire) >= kCapacity)
        return false;
    mEdits[tail % kCapacity] = Edit{type, paramId, plainValue};
    mTail.store(tail + 1, std::memory_order_release);
    return true;
}

void ClapEditQueue::DrainInto(const clap_output_events_t* out) noexcept
{
    if (out == nullptr || out->try_push == nullptr)
        return;
    uint32_t head = mHead.load(std::memory_order_relaxed);
    const uint32_t tail = mTail.load(std::memory_order_acquire);
    for (; head != tail; ++head) {
        const Edit& edit = mEdits[head % kCapacity];
        bool taken = false;
        if (edit.type == CLAP_EVENT_PARAM_VALUE) {
            clap_event_param_value_t event{};
            event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, edit.type, 0};
            event.param_id = edit.paramId;
            event.note_id = -1;
            event.port_index = -1;
            event.channel = -1;
            event.key = -1;
            event.value = edit.value;
            taken = out->try_push(out, &event.header);
        } else {
            clap_event_param_gesture_t event{};
            event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, edit.type, 0};
            event.param_id = edit.paramId;
            taken = out->try_push(out, &event.header);
        }
        if (!taken)
            break;
    }
    mHead.store(head, std::memory_order_release);
}
