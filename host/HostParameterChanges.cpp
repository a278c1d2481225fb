// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostParameterChanges.h"

void HostParameterChanges::Add(Steinberg::Vst::ParamID id, double normalized, Steinberg::int32 offset)
{
    Steinberg::int32 index = 0;
    Steinberg::int32 point = 0;
    addParameterData(id, index)->addPoint(offset, normalized, point);
}

Steinberg::int32 PLUGIN_API HostParameterChanges::getParameterCount()
{
    return static_cast<Steinberg::int32>(mQueues.size());
}

Steinberg::Vst::IParamValueQueue* PLUGIN_API HostParameterChanges::getParameterData(Steinberg::int32 index)
{
    if (index < 0 || index >= getParameterCount())
        return nullptr;
    return mQueues[index].get();
}

Steinberg::Vst::IParamValueQueue* PLUGIN_API
HostParameterChanges::addParameterData(const Steinberg::Vst::ParamID& id, Steinberg::int32& index)
{
    for (size_t i = 0; i < mQueues.size(); ++i) {
        if (mQueues[i]->getParameterId() == id) {
            index = static_cast<Steinberg::int32>(i);
            return mQueues[i].get();
        }
    }
    index = getParameterCount();
    mQueues.push_back(std::make_unique<HostParamQueue>(id));
    return mQueues.back().get();
}
