// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"

#include <functional>
#include <vector>

/// The events a host hands to one process or flush call: parameter values
/// in time order.
class ClapInputEventList {
public:
    ClapInputEventList();
    /// [audio] Forgets the events of the last call.
    void Clear() { mEvents.clear(); }
    /// [audio] Adds a parameter value (plain) at sample offset `time`.
    void AddValue(clap_id id, uint32_t time, double value);
    /// [audio] Puts the events in time order (equal times keep their order).
    void Sort();
    const clap_input_events_t* List() const { return &mList; }

private:
    std::vector<clap_event_param_value_t> mEvents;
    clap_input_events_t mList;
};

/// The events a plug-in sends back from process or flush: each one is given
/// to `onEvent` as it is pushed.
class ClapOutputEventList {
public:
    explicit ClapOutputEventList(std::function<void(const clap_event_header_t&)> onEvent);
    const clap_output_events_t* List() const { return &mList; }

private:
    std::function<void(const clap_event_header_t&)> mOnEvent;
    clap_output_events_t mList;
};
