// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/IEffectParameter.h"

#include "vst3/WideText.h"


using namespace Steinberg::Vst;

IEffectParameter::IEffectParameter(const IParamRecord& record, int index, UnitID unitId)
    : mRecord(record)
{
    info.id = static_cast<ParamID>(index);
    WidenText(record.Name(), info.title);
    WidenText("", info.shortTitle);
    WidenText(record.LabelForHost(), info.units);
    info.stepCount = record.Kind() == IParamRecord::kKindContinuous
                         ? 0
                         : static_cast<Steinberg::int32>(record.Max() - record.Min());
    info.defaultNormalizedValue = record.PlainToNormalized(record.Default());
    valueNormalized = info.defaultNormalizedValue;
    info.flags = record.CanAutomate() ? ParameterInfo::kCanAutomate : 0;
    info.unitId = unitId;
    precision = record.DisplayPrecision();
}

void IEffectParameter::toString(ParamValue normalized, String128 text) const
{
    // A host may ask for any double; the text path truncates the plain value
    // to an integer, which is only defined for values inside the range.
    if (!(normalized >= 0.0))
        normalized = 0.0;
    else if (normalized > 1.0)
        normalized = 1.0;
    char narrow[IParamRecord::kTextSize] = {};
    mRecord.FormatForHost(mRecord.NormalizedToPlain(normalized), narrow, sizeof narrow);
    WidenText(narrow, text);
}

bool IEffectParameter::fromString(const TChar* text, ParamValue& normalized) const
{
    const std::string narrow = NarrowText16(text);
    double plain = 0.0;
    if (!mRecord.ParseFromHost(narrow, plain))
        return false;
    normalized = mRecord.PlainToNormalized(plain);
    return true;
}

ParamValue IEffectParameter::toPlain(ParamValue normalized) const
{
    return mRecord.NormalizedToPlain(normalized);
}

ParamValue IEffectParameter::toNormalized(ParamValue plain) const
{
    return mRecord.PlainToNormalized(plain);
}
