// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/IEffectLV2.h"

#include "lv2/ILV2ControlSink.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>

namespace {

bool SameBits(float a, float b) noexcept
{
    return std::memcmp(&a, &b, sizeof(float)) == 0;
}

} // namespace

IEffectLV2::IEffectLV2(int paramCount, const char* channelIOText, int presetCount, const char* effectName,
                       const char* productName, const char* makerName, std::int32_t version,
                       std::int32_t uniqueId, std::int32_t makerId, int latency, bool doesMidi,
                       bool isInstrument)
    : IEffectBase(paramCount, channelIOText, presetCount, effectName, productName, makerName, version,
                  uniqueId, makerId, latency, doesMidi, isInstrument),
      mAudioIn(static_cast<std::size_t>(GetInputCount()), nullptr),
      mAudioOut(static_cast<std::size_t>(GetOutputCount()), nullptr),
      mControls(static_cast<std::size_t>(GetParamCount()), nullptr),
      mSeenControls(mControls.size(), 0.0f)
{
    SetInputsConnected(0, GetInputCount(), true);
    SetOutputsConnected(0, GetOutputCount(), true);
}

IEffectLV2::~IEffectLV2() = default;

std::uint32_t IEffectLV2::ControlPort(int paramIdx) const noexcept
{
    return static_cast<std::uint32_t>(mAudioIn.size() + mAudioOut.size()) + static_cast<std::uint32_t>(paramIdx);
}

std::uint32_t IEffectLV2::EnabledPort() const noexcept
{
    return ControlPort(GetParamCount());
}

bool IEffectLV2::Start(double sampleRate, int maxBlockFrames)
{
    if (!PrepareProcessing(sampleRate, maxBlockFrames))
        return false;
    StartUp(kHostNotYetKnown);
    std::lock_guard<std::recursive_mutex> hold(GetLock());
    // Ports the host leaves at the defaults change nothing.
    for (int i = 0; i < GetParamCount(); ++i)
        mSeenControls[static_cast<std::size_t>(i)] = static_cast<float>(GetParam(i)->Value());
    mSeenEnabled = IsBypassed() ? 0.0f : 1.0f;
    return true;
}

void IEffectLV2::ConnectPort(std::uint32_t port, void* data) noexcept
{
    std::size_t index = port;
    if (index < mAudioIn.size()) {
        mAudioIn[index] = static_cast<const float*>(data);
        return;
    }
    index -= mAudioIn.size();
    if (index < mAudioOut.size()) {
        mAudioOut[index] = static_cast<float*>(data);
        return;
    }
    index -= mAudioOut.size();
    if (index < mControls.size())
        mControls[index] = static_cast<const float*>(data);
    else if (index == mControls.size())
        mEnabled = static_cast<const float*>(data);
}

void IEffectLV2::Activate()
{
    // LV2's activate returns the instance to its initial state.
    RestartSignal();
    OnActivate(true);
}

void IEffectLV2::Deactivate()
{
    OnActivate(false);
}

void IEffectLV2::ApplyControlPorts() noexcept
{
    for (std::size_t i = 0; i < mControls.size(); ++i) {
        if (mControls[i] == nullptr || SameBits(*mControls[i], mSeenControls[i]))
            continue;
        mSeenControls[i] = *mControls[i];
        const int index = static_cast<int>(i);
        // A port showing the value the parameter already has in single
        // precision (restored state, an edit from the editor) leaves the
        // double-precision value alone, so settings move between formats exactly.
        if (SameBits(mSeenControls[i], static_cast<float>(GetParam(index)->Value())))
            continue;
        SetParamFromHost(index, mSeenControls[i]);
    }
    if (mEnabled != nullptr && !SameBits(*mEnabled, mSeenEnabled)) {
        mSeenEnabled = *mEnabled;
        if (std::isfinite(mSeenEnabled))
            SetBypassed(mSeenEnabled < 0.5f);
    }
}

void IEffectLV2::SeeCurrentPorts() noexcept
{
    for (std::size_t i = 0; i < mControls.size(); ++i)
        if (mControls[i] != nullptr)
            mSeenControls[i] = *mControls[i];
    if (mEnabled != nullptr)
        mSeenEnabled = *mEnabled;
}

void IEffectLV2::Run(std::uint32_t frames) noexcept
{
    // No lock: parameter values are atomics, and the user-interface side
    // must never be able to make this call wait.
    const int total = static_cast<int>(std::min<std::uint32_t>(frames, std::numeric_limits<int>::max()));
    // The control ports apply at the block's start.
    ProcessHostBlock(
        total, [total](int) { return total; },
        [this](int at) {
            if (at == 0)
                ApplyControlPorts();
        },
        [this](int offset, int count) {
            // Every port is connected; an unconnected input reads silence,
            // an unconnected output is skipped.
            HostBuses<const float> buses;
            buses.inputs = mAudioIn.data();
            buses.inputChannels = GetInputCount();
            buses.outputs = mAudioOut.data();
            buses.outputChannels = GetOutputCount();
            ProcessHostPart(buses, offset, count);
        });
}

bool IEffectLV2::SaveStateChunk(std::vector<std::uint8_t>& bytes)
{
    bytes.resize(static_cast<std::size_t>(StateChunkBytes()));
    return WriteStateChunk(bytes.data(), bytes.size());
}

bool IEffectLV2::LoadStateChunk(const std::uint8_t* bytes, std::size_t size)
{
    if (ReadStateChunk(bytes, size) == StateRead::kRefused)
        return false;
    SeeCurrentPorts();
    return true;
}

void IEffectLV2::BeginParamGesture(int paramIdx)
{
    if (mControlSink != nullptr)
        mControlSink->TouchParam(paramIdx, true);
}

void IEffectLV2::ReportParamChange(int paramIdx, double normalized)
{
    if (mControlSink != nullptr && paramIdx >= 0 && paramIdx < GetParamCount())
        mControlSink->WriteParam(paramIdx, GetParam(paramIdx)->NormalizedToPlain(normalized));
}

void IEffectLV2::EndParamGesture(int paramIdx)
{
    if (mControlSink != nullptr)
        mControlSink->TouchParam(paramIdx, false);
}

void IEffectLV2::GetTimeSignature(int& numerator, int& denominator) const noexcept
{
    numerator = 4;
    denominator = 4;
}
