// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/HostObject.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

/// The points of one parameter for one process call, in the order added.
class HostParamQueue : public HostObject<Steinberg::Vst::IParamValueQueue> {
public:
    explicit HostParamQueue(Steinberg::Vst::ParamID id) : mId(id) {}

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return mId; }
    Steinberg::int32 PLUGIN_API getPointCount() override;
    /// [audio] kResultFalse for an index outside the points.
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& offset,
                                           Steinberg::Vst::ParamValue& value) override;
    /// [ui] Appends a point; the plug-in side never needs to call this.
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 offset, Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override;

private:
    struct Point {
        Steinberg::int32 offset;
        Steinberg::Vst::ParamValue value;
    };
    Steinberg::Vst::ParamID mId;
    std::vector<Point> mPoints;
};
