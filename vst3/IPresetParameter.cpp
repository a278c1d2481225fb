// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/IPresetParameter.h"

#include "framework/IEffectBase.h"
#include "vst3/WideText.h"

#include <algorithm>
#include <cmath>

using namespace Steinberg::Vst;

IPresetParameter::IPresetParameter(const IEffectBase& plug, ParamID id) : mPlug(plug)
{
    info.id = id;
    WidenText("Preset", info.title);
    WidenText("", info.shortTitle);
    WidenText("", info.units);
    info.stepCount = StepsFor(plug.GetPresetCount());
    info.defaultNormalizedValue = 0.0;
    info.flags = ParameterInfo::kIsProgramChange | ParameterInfo::kIsList;
    info.unitId = kRootUnitId;
}

int IPresetParameter::StepsFor(int presetCount) noexcept
{
    return std::max(presetCount - 1, 1);
}

int IPresetParameter::PresetFor(double normalized, int presetCount) noexcept
{
    if (!(normalized >= 0.0 && normalized <= 1.0))
        return -1;
    // The VST3 rule for stepped values: each step owns an equal share of 0..1.
    const int steps = StepsFor(presetCount);
    const int step = std::min(steps, static_cast<int>(normalized * (steps + 1)));
    return step < presetCount ? step : -1;
}

double IPresetParameter::NormalizedFor(int index, int presetCount) noexcept
{
    return static_cast<double>(index) / StepsFor(presetCount);
}

void IPresetParameter::toString(ParamValue normalized, String128 text) const
{
    const int index = PresetFor(normalized, mPlug.GetPresetCount());
    WidenText(index >= 0 ? mPlug.GetPreset(index)->Name() : "", text);
}

bool IPresetParameter::fromString(const TChar* text, ParamValue& normalized) const
{
    const std::string name = NarrowText16(text);
    for (int i = 0; i < mPlug.GetPresetCount(); ++i) {
        if (name == mPlug.GetPreset(i)->Name()) {
            normalized = NormalizedFor(i, mPlug.GetPresetCount());
            return true;
        }
    }
    return false;
}

ParamValue IPresetParameter::toPlain(ParamValue normalized) const
{
    const int steps = StepsFor(mPlug.GetPresetCount());
    if (!(normalized >= 0.0))
        return 0.0;
    return std::clamp(std::floor(normalized * (steps + 1)), 0.0, static_cast<double>(steps));
}

ParamValue IPresetParameter::toNormalized(ParamValue plain) const
{
    return std::clamp(plain / StepsFor(mPlug.GetPresetCount()), 0.0, 1.0);
}
