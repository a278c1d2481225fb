// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IParamRecord.h"
#include "public.sdk/source/vst/vstparameters.h"

/// One of the base's parameters as the host sees it: an SDK parameter whose
/// information is filled from the record at construction and whose value
/// conversions and texts come from the record. Owned by the binding's
/// parameter container; borrows the record, which the plug-in base owns and
/// which outlives it.
class IEffectParameter : public Steinberg::Vst::Parameter {
public:
    /// [ui] Publishes record `index` in unit `unitId`.
    IEffectParameter(const IParamRecord& record, int index, Steinberg::Vst::UnitID unitId);

    /// [ui] The record's display text of a normalised value (no step
    /// rounding). A value outside 0..1 is clamped; NaN reads as 0.
    void toString(Steinberg::Vst::ParamValue normalized,
                  Steinberg::Vst::String128 text) const SMTG_OVERRIDE;
    /// [ui] Reads the text in the record's units (ParseFromHost) and returns
    /// its clamped normalised value. Text that is not a value is refused.
    bool fromString(const Steinberg::Vst::TChar* text,
                    Steinberg::Vst::ParamValue& normalized) const SMTG_OVERRIDE;
    /// [any] The record's NormalizedToPlain.
    Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const SMTG_OVERRIDE;
    /// [any] The record's PlainToNormalized.
    Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plain) const SMTG_OVERRIDE;

    OBJ_METHODS(IEffectParameter, Parameter)

private:
    const IParamRecord& mRecord;
};
