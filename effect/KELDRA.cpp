// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/KELDRA.h"

#include "effect/KeldraEditorLayout.h"
#include "effect/KeldraIdentity.h"
#include "effect/KnobUnits.h"

#include "framework/FourCharCode.h"

#include <cmath>

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

template <typename T, typename Derive>
void KELDRA::Follow(int paramIdx, RelaxedAtomic<T>& target, Derive derive) noexcept
{
    const IParamRecord& param = *GetParam(paramIdx);
    double value = param.Value();
    for (;;) {
        target = derive(value);
        const double now = param.Value();
        if (now == value || std::isnan(now))
            return;
        value = now;
    }
}

void KELDRA::OnParamChanged(int paramIdx)
{
    if (paramIdx < 0 || paramIdx >= GetParamCount()) {
        return;
    }
    const auto same = [](double value) { return value; };
    switch (static_cast<KeldraParamId>(paramIdx)) {
    case KeldraParamId::kOut:
        Follow(paramIdx, mOutputGainFactor, [](double value) { return std::pow(10.0, value / 20.0); });
        break;
    case KeldraParamId::kHighPass:
        Follow(paramIdx, mHighPassTarget, same);
        break;
    case KeldraParamId::kLowPass:
        Follow(paramIdx, mLowPassTarget, same);
        break;
    case KeldraParamId::kGainHigh:
        Follow(paramIdx, mHighShelfTarget, same);
        break;
    case KeldraParamId::kGainMid:
        Follow(paramIdx, mMidBellTarget, same);
        break;
    case KeldraParamId::kGainLow:
        Follow(paramIdx, mLowShelfTarget, same);
        break;
    case KeldraParamId::kBypass:
        // Read by the signal chain for every sample.
        break;
    case KeldraParamId::kOversampling:
        Follow(paramIdx, mOversamplingFactor, [](double value) {
            return static_cast<std::int32_t>(static_cast<int>(value) != 0 ? kOversamplingHigh : kOversamplingLow);
        });
        break;
    }
}

void KELDRA::OnReset()
{
    mChain.reset(GetSampleRate());
}

void KELDRA::ProcessBlock(double** inputs, double** outputs, int frames) noexcept
{
    // A state restore half applied on the user-interface thread is not
    // heard: the block keeps the last whole set of working values.
    ChainSettings settings;
    const bool settled = ReadSettled([&] {
        settings.oversampling = mOversamplingFactor;
        settings.outputGain = mOutputGainFactor;
        settings.highShelf = mHighShelfTarget;
        settings.highPass = mHighPassTarget;
        settings.lowPass = mLowPassTarget;
        settings.midBell = mMidBellTarget;
        settings.lowShelf = mLowShelfTarget;
    });
    if (settled) {
        mSettledSettings = settings;
    } else {
        settings = mSettledSettings;
    }
    settings.sampleRate = GetSampleRate();
    // The base always binds two input and two output arrays (disconnected
    // channels read and write scratch); without them only the design runs.
    const bool bound = inputs != nullptr && outputs != nullptr && inputs[0] != nullptr && inputs[1] != nullptr &&
                       outputs[0] != nullptr && outputs[1] != nullptr;
    const double* const in[2] = {bound ? inputs[0] : nullptr, bound ? inputs[1] : nullptr};
    double* const out[2] = {bound ? outputs[0] : nullptr, bound ? outputs[1] : nullptr};
    mChain.process(in, out, bound ? frames : 0, settings, mBypassSource);
}
