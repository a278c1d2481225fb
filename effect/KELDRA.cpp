// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/KELDRA.h"

#include "effect/KeldraEditorLayout.h"

#include "framework/FourCharCode.h"

#include <cmath>
#include <mutex>

namespace {

constexpr int kPresetCount = 1;
constexpr std::int32_t kVersion = 0x30000;  // 3.0.0

}  // namespace

KELDRA::KELDRA()
    : KeldraBinding(kKeldraParamCount, "1-1 2-2", kPresetCount, "KELDRA", "", "Brackenfold", kVersion,
                  MakeFourCharCode("Kld1"), MakeFourCharCode("Bkfd")),
      mBypassSource(*GetParam(ToIndex(KeldraParamId::kBypass)))
{
    DefineParameters();
    AttachEditor(KeldraEditorLayout::Create(*this));
    InitDefaultPresets("-");
}

KELDRA::~KELDRA() = default;

void KELDRA::DefineParameters()
{
    IParamRecord& bypass = *GetParam(ToIndex(KeldraParamId::kBypass));
    if (bypass.Kind() == IParamRecord::kKindUnset) {
        bypass.SetKind(IParamRecord::kKindInteger);
    }
    bypass.DefineContinuous("Bypass", 0.0, 0.0, 1.0, 1.0, "", "", 1.0);

    // The tone parameters are potentiometer positions of the modelled circuit.
    struct Definition {
        KeldraParamId id;
        const char* name;
        double defaultValue;
        double minValue;
        double maxValue;
        double shape;
    };
    static constexpr Definition kDefinitions[] = {
        {KeldraParamId::kGainHigh, "GainH", 0.5, 0.0, 1.0, 1.0},
        {KeldraParamId::kGainLow, "GainL", 0.5, 0.0, 1.0, 1.0},
        {KeldraParamId::kGainMid, "GainM", 0.5, 0.02, 0.98, 1.0},
        // Shape 0.25 spends most of the knob's travel on the low corners.
        {KeldraParamId::kHighPass, "HPF", 0.0, 0.0, 0.96, 0.25},
        {KeldraParamId::kLowPass, "LPF", 0.0, -0.3, 0.0, 1.0},
        {KeldraParamId::kOut, "OUT", 0.0, -15.0, 15.0, 1.0},
    };
    constexpr double kStep = 0.01;
    for (const Definition& d : kDefinitions) {
        IParamRecord& param = *GetParam(ToIndex(d.id));
        param.DefineContinuous(d.name, d.defaultValue, d.minValue, d.maxValue, kStep, "", "", 1.0);
        param.SetShape(d.shape);
    }
    // The oversampling switch keeps the range, step and default every
    // parameter starts with (0..1, step 1, default 0); only its title is
    // given, so that hosts list it by name.
    IParamRecord& oversampling = *GetParam(ToIndex(KeldraParamId::kOversampling));
    oversampling.SetKind(IParamRecord::kKindInteger);
    oversampling.DefineContinuous("Oversampling", 0.0, 0.0, 1.0, 1.0, "", "", 1.0);
}

void KELDRA::OnParamChanged(int paramIdx)
{
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    if (paramIdx < 0 || paramIdx >= GetParamCount()) {
        return;
    }
    const double value = GetParam(paramIdx)->Value();
    switch (static_cast<KeldraParamId>(paramIdx)) {
    case KeldraParamId::kOut:
        mOutputGainFactor = std::pow(10.0, value / 20.0);
        break;
    case KeldraParamId::kHighPass:
        mHighPassTarget = value;
        break;
    case KeldraParamId::kLowPass:
        mLowPassTarget = value;
        break;
    case KeldraParamId::kGainHigh:
        mHighShelfTarget = value;
        break;
    case KeldraParamId::kGainMid:
        mMidBellTarget = value;
        break;
    case KeldraParamId::kGainLow:
        mLowShelfTarget = value;
        break;
    case KeldraParamId::kBypass:
        // Read by the signal chain for every sample.
        break;
    case KeldraParamId::kOversampling:
        mOversamplingFactor = static_cast<int>(value) != 0 ? kOversamplingHigh : kOversamplingLow;
        break;
    }
}

void KELDRA::OnReset()
{
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    mChain.reset();
}

void KELDRA::ProcessBlock(double** inputs, double** outputs, int frames) noexcept
{
    ChainSettings settings;
    settings.sampleRate = GetSampleRate();
    settings.oversampling = mOversamplingFactor;
    settings.outputGain = mOutputGainFactor;
    settings.highShelf = mHighShelfTarget;
    settings.highPass = mHighPassTarget;
    settings.lowPass = mLowPassTarget;
    settings.midBell = mMidBellTarget;
    settings.lowShelf = mLowShelfTarget;
    // The base always binds two input and two output arrays (disconnected
    // channels read and write scratch); without them only the design runs.
    const bool bound = inputs != nullptr && outputs != nullptr && inputs[0] != nullptr && inputs[1] != nullptr &&
                       outputs[0] != nullptr && outputs[1] != nullptr;
    const double* const in[2] = {bound ? inputs[0] : nullptr, bound ? inputs[1] : nullptr};
    double* const out[2] = {bound ? outputs[0] : nullptr, bound ? outputs[1] : nullptr};
    mChain.process(in, out, bound ? frames : 0, settings, mBypassSource);
}
