// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

class IEffectBase;

/// The program-change parameter: a list with one value per preset, whose
/// texts are the preset names. Preset k is the normalised value k / steps,
/// steps = presets - 1 (at least 1, so that a single preset is still a list
/// of one value and the value 1.0 names no preset). Owned by the binding's
/// parameter container; borrows the plug-in base, which outlives it.
class IPresetParameter : public Steinberg::Vst::Parameter {
public:
    /// [ui] Publishes the presets of `plug` under `id`.
    IPresetParameter(const IEffectBase& plug, Steinberg::Vst::ParamID id);

    /// [any] Number of steps of a preset parameter over `presetCount` presets.
    static int StepsFor(int presetCount) noexcept;
    /// [any] The preset a normalised value names, or -1 when it names none
    /// (NaN, outside 0..1, or a step beyond the last preset).
    static int PresetFor(double normalized, int presetCount) noexcept;
    /// [any] The normalised value of preset `index`.
    static double NormalizedFor(int index, int presetCount) noexcept;

    /// [ui] The name of the preset `normalized` names; "" for none.
    void toString(Steinberg::Vst::ParamValue normalized,
                  Steinberg::Vst::String128 text) const SMTG_OVERRIDE;
    /// [ui] The value of the preset named exactly `text`; false for none.
    bool fromString(const Steinberg::Vst::TChar* text,
                    Steinberg::Vst::ParamValue& normalized) const SMTG_OVERRIDE;
    /// [any] The step a normalised value falls on (0 .. steps).
    Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const SMTG_OVERRIDE;
    /// [any] step / steps.
    Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plain) const SMTG_OVERRIDE;

    OBJ_METHODS(IPresetParameter, Parameter)

private:
    const IEffectBase& mPlug;
};
