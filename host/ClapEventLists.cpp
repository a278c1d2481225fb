// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/ClapEventLists.h"

#include <algorithm>

namespace {

uint32_t CLAP_ABI InputSize(const clap_input_events_t* list)
{
    return static_cast<uint32_t>(static_cast<const std::vector<clap_event_param_value_t>*>(list->ctx)->size());
}

const clap_event_header_t* CLAP_ABI InputGet(const clap_input_events_t* list, uint32_t index)
{
    const auto& events = *static_cast<const std::vector<clap_event_param_value_t>*>(list->ctx);
    return index < events.size() ? &events[index].header : nullptr;
}

bool CLAP_ABI OutputPush(const clap_output_events_t* list, const clap_event_header_t* event)
{
    if (event == nullptr)
        return false;
    (*static_cast<std::function<void(const clap_event_header_t&)>*>(list->ctx))(*event);
    return true;
}

} // namespace

ClapInputEventList::ClapInputEventList() : mList{&mEvents, InputSize, InputGet} {}

void ClapInputEventList::AddValue(clap_id id, uint32_t time, double value)
{
    clap_event_param_value_t event{};
    event.header = {sizeof event, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    event.param_id = id;
    event.note_id = -1;
    event.port_index = -1;
    event.channel = -1;
    event.key = -1;
    event.value = value;
    mEvents.push_back(event);
}

void ClapInputEventList::Sort()
{
    std::stable_sort(mEvents.begin(), mEvents.end(),
                     [](const auto& a, const auto& b) { return a.header.time < b.header.time; });
}

ClapOutputEventList::ClapOutputEventList(std::function<void(const clap_event_header_t&)> onEvent)
    : mOnEvent(std::move(onEvent)), mList{&mOnEvent, OutputPush}
{
}
