// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/KELDRA.h"

#include "effect/KeldraEditorLayout.h"
#include "effect/KeldraIdentity.h"

#include "framework/FourCharCode.h"

#include <cmath>
#include <mutex>

namespace {

constexpr int kPresetCount = 1;

}  // namespace

KELDRA::KELDRA()
    : KeldraBinding(kKeldraParamCount, KeldraIdentity::kChannelIO, kPresetCount, KeldraIdentity::kName, "",
                  KeldraIdentity::kMaker, KeldraIdentity::kVersion, MakeFourCharCode(KeldraIdentity::kPluginCode),
                  MakeFourCharCode(KeldraIdentity::kMakerCode)),
      mBypassSource(*GetParam(ToIndex(KeldraParamId::kBypass)))
{
    DefineParameters();
    AttachEditor(KeldraEditorLayout::Create(*this));
    InitDefaultPresets(KeldraIdentity::kDefaultPresetName);
}

KELDRA::~KELDRA() = default;

void KELDRA::DefineParameters()
{
    for (const KeldraIdentity::ParamSpec& spec : KeldraIdentity::kParams) {
        IParamRecord& param = *GetParam(ToIndex(spec.id));
        // Switches are whole numbers; a kind set first survives the definition.
        if (spec.style != KeldraIdentity::ParamStyle::kContinuous)
            param.SetKind(IParamRecord::kKindInteger);
        param.DefineContinuous(spec.name, spec.defaultValue, spec.minValue, spec.maxValue, spec.step, "", "",
                               spec.shape);
    }
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
    mChain.reset(GetSampleRate());
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
