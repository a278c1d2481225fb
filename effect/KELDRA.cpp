// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/KELDRA.h"

#include "effect/KeldraEditorLayout.h"
#include "effect/KeldraIdentity.h"
#include "effect/KeldraPresets.h"
#include "effect/KnobUnits.h"

#include "framework/FourCharCode.h"

#include <cmath>

namespace {

constexpr int kPresetCount = KeldraPresets::kCount;

}  // namespace

KELDRA::KELDRA()
    : KeldraBinding(kKeldraParamCount, KeldraIdentity::kChannelIO, kPresetCount, KeldraIdentity::kName, "",
                  KeldraIdentity::kMaker, KeldraIdentity::kVersion, MakeFourCharCode(KeldraIdentity::kPluginCode),
                  MakeFourCharCode(KeldraIdentity::kMakerCode))
{
    DefineParameters();
    UseParamAsBypass(ToIndex(KeldraParamId::kBypass));
    AttachEditor(KeldraEditorLayout::Create(*this));
    MakeFactoryPresets();
}

KELDRA::~KELDRA() = default;

void KELDRA::DefineParameters()
{
    for (const KeldraIdentity::ParamSpec& definition : KeldraIdentity::kParams) {
        IParamRecord& param = *GetParam(ToIndex(definition.id));
        // Switches are whole numbers; a kind set first survives the definition.
        if (definition.style != KeldraIdentity::ParamStyle::kContinuous)
            param.SetKind(IParamRecord::kKindInteger);
        param.DefineContinuous(definition.name, definition.defaultValue, definition.minValue, definition.maxValue,
                               definition.step, "", "", definition.shape);
        param.SetTextUnits(&KnobUnits::For(definition.id));
    }
}

void KELDRA::MakeFactoryPresets()
{
    // Each slot saves the values just set; the defaults ("-") come back last.
    const auto setKnobs = [this](const KeldraPresets::Preset& preset) {
        for (int i = 0; i < GetParamCount(); ++i)
            GetParam(i)->SetPlain(KeldraPresets::ValueOf(preset, i));
    };
    for (const KeldraPresets::Preset& preset : KeldraPresets::kPresets) {
        setKnobs(preset);
        InitDefaultPresets(preset.name);
    }
    setKnobs(KeldraPresets::kPresets[0]);
}

void KELDRA::OnReset()
{
    mChain.reset(GetSampleRate());
}

ChainSettings KELDRA::SettledChainSettings() const noexcept
{
    const auto value = [this](KeldraParamId id) { return SettledValue(ToIndex(id)); };
    ChainSettings settings;
    settings.sampleRate = GetSampleRate();
    settings.oversampling =
        static_cast<int>(value(KeldraParamId::kOversampling)) != 0 ? kOversamplingHigh : kOversamplingLow;
    settings.outputGain = std::pow(10.0, value(KeldraParamId::kOut) / 20.0);
    settings.highShelf = value(KeldraParamId::kGainHigh);
    settings.highPass = value(KeldraParamId::kHighPass);
    settings.lowPass = value(KeldraParamId::kLowPass);
    settings.midBell = value(KeldraParamId::kGainMid);
    settings.lowShelf = value(KeldraParamId::kGainLow);
    return settings;
}

void KELDRA::ProcessBlock(double** inputs, double** outputs, int frames) noexcept
{
    // The base always binds two input and two output arrays (disconnected
    // channels read and write scratch); without them only the design runs.
    const bool bound = inputs != nullptr && outputs != nullptr && inputs[0] != nullptr && inputs[1] != nullptr &&
                       outputs[0] != nullptr && outputs[1] != nullptr;
    const double* const in[2] = {bound ? inputs[0] : nullptr, bound ? inputs[1] : nullptr};
    double* const out[2] = {bound ? outputs[0] : nullptr, bound ? outputs[1] : nullptr};
    mChain.process(in, out, bound ? frames : 0, SettledChainSettings());
}
