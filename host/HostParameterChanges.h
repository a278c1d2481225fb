// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/HostObject.h"
#include "host/HostParamQueue.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <memory>
#include <vector>

/// The parameter changes handed to one process call: one queue per id.
class HostParameterChanges : public HostObject<Steinberg::Vst::IParameterChanges> {
public:
    /// [ui] Appends a point to the queue of `id` (creating the queue).
    void Add(Steinberg::Vst::ParamID id, double normalized, Steinberg::int32 offset = 0);
    /// [ui] Removes every queue.
    void Clear() { mQueues.clear(); }

    Steinberg::int32 PLUGIN_API getParameterCount() override;
    /// [audio] The queue at `index`, or nullptr outside the list.
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    /// [ui] The queue of `id`, created on first use; its position goes to `index`.
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) override;

private:
    std::vector<std::unique_ptr<HostParamQueue>> mQueues;
};
