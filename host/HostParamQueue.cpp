// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostParamQueue.h"

Steinberg::int32 PLUGIN_API HostParamQueue::getPointCount()
{
    return static_cast<Steinberg::int32>(mPoints.size());
}

Steinberg::tresult PLUGIN_API HostParamQueue::getPoint(Steinberg::int32 index, Steinberg::int32& offset,
                                                       Steinberg::Vst::ParamValue& value)
{
    if (index < 0 || index >= getPointCount())
        return Steinberg::kResultFalse;
    offset = mPoints[index].offset;
    value = mPoints[index].value;
    return Steinberg::kResultOk;
}

Steinberg::tresult PLUGIN_API HostParamQueue::addPoint(Steinberg::int32 offset,
                                                       Steinberg::Vst::ParamValue value,
                                                       Steinberg::int32& index)
{
    index = getPointCount();
    mPoints.push_back({offset, value});
    return Steinberg::kResultOk;
}
