// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/IEffectBase.h"

#include "framework/CopyText.h"
#include "framework/HostArray.h"
#include "framework/Trace.h"
#include "framework/TraceTimeStamp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr double kStateTolerance = 1e-5;

// Copies input i to output i where there is one and silences the rest.
// memmove: 64-bit host buffers may be the same array for input and output.
void CopyOrSilence(double* const* inputs, int inputCount, double* const* outputs, int outputCount,
                   int frames) noexcept
{
    if (!outputs || frames <= 0) {
        return;
    }
    const auto bytes = sizeof(double) * static_cast<std::size_t>(frames);
    for (int i = 0; i < outputCount; ++i) {
        if (!outputs[i]) {
            continue;
        }
        if (inputs && i < inputCount && inputs[i]) {
            std::memmove(outputs[i], inputs[i], bytes);
        } else {
            std::memset(outputs[i], 0, bytes);
        }
    }
}

// The half-open channel range [start, start + count) cut to the channels that exist.
struct ChannelRange {
    int begin;
    int end;
};

ChannelRange ClipRange(int start, int count, int total) noexcept
{
    const int begin = std::clamp(start, 0, total);
    const int end = count > total - begin ? total : begin + std::max(count, 0);
    return {begin, end};
}

template <typename Channel>
void SetConnected(std::vector<Channel>& channels, int start, int count, bool connected) noexcept
{
    const ChannelRange range = ClipRange(start, count, static_cast<int>(channels.size()));
    for (int i = range.begin; i < range.end; ++i) {
        Channel& channel = channels[static_cast<std::size_t>(i)];
        channel.connected = connected;
        if (!connected) {
            *channel.slot = channel.scratch.data();
        }
    }
}

// Hands the next host array to each connected channel in [start, start + count);
// disconnected channels take none.
template <typename Channel, typename HostArray, typename Bind>
void BindConnected(std::vector<Channel>& channels, int start, int count, HostArray* const* hostArrays,
                   Bind bind) noexcept
{
    const ChannelRange range = ClipRange(start, count, static_cast<int>(channels.size()));
    int next = 0;
    for (int i = range.begin; i < range.end; ++i) {
        Channel& channel = channels[static_cast<std::size_t>(i)];
        if (channel.connected) {
            bind(channel, hostArrays[next++]);
        }
    }
}

// Resizes a scratch array; a slot that pointed at the old array follows it.
template <typename Channel>
void ResizeScratch(Channel& channel, int frames)
{
    const double* old = channel.scratch.data();
    channel.scratch.assign(static_cast<std::size_t>(frames), 0.0);
    if (*channel.slot == old) {
        *channel.slot = channel.scratch.data();
    }
}

}  // namespace

IEffectBase::IEffectBase(int paramCount, const char* channelIOText, int presetCount,
                         const char* effectName, const char* productName, const char* makerName,
                         std::int32_t version, std::int32_t uniqueId, std::int32_t makerId,
                         int latency, bool doesMidi, bool isInstrument)
    : mUniqueId(uniqueId),
      mMakerId(makerId),
      mVersion(version),
      mIsInstrument(isInstrument),
      mDoesMidi(doesMidi),
      mLatency(latency)
{
    KELDRA_TRACE("IEffectBase::IEffectBase", "%s:%s", effectName,
                 MakeTraceTimeStamp(std::time(nullptr)).text);

    for (int i = 0; i < paramCount; ++i) {
        mParams.push_back(std::make_unique<IParamRecord>());
    }
    for (int i = 0; i < presetCount; ++i) {
        mPresets.push_back(std::make_unique<IPresetSlot>());
    }
    CopyText(mEffectName, effectName);
    CopyText(mProductName, productName);
    CopyText(mMakerName, makerName);

    ParseChannelIO(channelIOText);
    mReadValues.assign(static_cast<std::size_t>(paramCount), 0.0);
    mSettledValues.assign(static_cast<std::size_t>(paramCount), 0.0);
    // Room for a whole state, so that saving and restoring never allocate.
    mStateBuffer.ResizeBuffer(StateChunkBytes(), false);
    mStateBuffer.ResizeBuffer(0, false);
}

void IEffectBase::ParseChannelIO(const char* text)
{
    int maxInputs = 0;
    int maxOutputs = 0;
    for (const char* p = text ? text : ""; p; ) {
        IChannelIOPair pair;
        std::sscanf(p, "%d-%d", &pair.inputs, &pair.outputs);
        mChannelIOPairs.push_back(pair);
        maxInputs = std::max(maxInputs, pair.inputs);
        maxOutputs = std::max(maxOutputs, pair.outputs);
        p = std::strchr(p, ' ');
        if (p) {
            ++p;
        }
    }

    // The data arrays are sized once, so the channels' slots into them stay valid.
    mInputData.assign(static_cast<std::size_t>(maxInputs), nullptr);
    mOutputData.assign(static_cast<std::size_t>(maxOutputs), nullptr);
    mInputChannels.resize(static_cast<std::size_t>(maxInputs));
    mOutputChannels.resize(static_cast<std::size_t>(maxOutputs));
    for (std::size_t i = 0; i < mInputChannels.size(); ++i) {
        mInputChannels[i].slot = &mInputData[i];
    }
    for (std::size_t i = 0; i < mOutputChannels.size(); ++i) {
        mOutputChannels[i].slot = &mOutputData[i];
    }
}

IEffectBase::~IEffectBase()
{
    // The editor goes first: its controls may still refer to the parameters.
    mEditor.reset();
}

// ---- virtual operations -----------------------------------------------------

void IEffectBase::OnReset() {}

void IEffectBase::OnParamChanged(int /*paramIdx*/) {}

void IEffectBase::ProcessBlock(double** inputs, double** outputs, int frames) noexcept
{
    CopyOrSilence(inputs, GetInputCount(), outputs, GetOutputCount(), frames);
}

void IEffectBase::OnEditorOpened() {}

void IEffectBase::OnEditorClosed() {}

void IEffectBase::OnIdle() {}

void IEffectBase::OnActivate(bool /*active*/)
{
    Lock lock(mLock);
}

void IEffectBase::OnMidiMessage(const IMidiMessage& message)
{
    SendMidiMessage(message);
}

void IEffectBase::OnSysexMessage(const ISysexMessage& /*message*/) {}

bool IEffectBase::GetMidiNoteText(int /*note*/, char* text)
{
    if (text) {
        text[0] = '\0';
    }
    return false;
}

bool IEffectBase::SaveState(IStateChunk& chunk)
{
    return SerializeParams(chunk);
}

int IEffectBase::LoadState(const IStateChunk& chunk, int start)
{
    return UnserializeParams(chunk, start);
}

bool IEffectBase::StateEquals(const double* values, int start) const
{
    for (int i = 0; i < GetParamCount(); ++i) {
        const auto difference = static_cast<float>(GetParam(i)->Value() - values[start + i]);
        if (!(std::fabs(difference) < static_cast<float>(kStateTolerance))) {
            return false;
        }
    }
    return true;
}

void IEffectBase::OnEditorResized() {}

bool IEffectBase::UsesSidechain() const
{
    return false;
}

void IEffectBase::OnHostInit() {}

void IEffectBase::PopupHostContextMenu(int /*paramIdx*/, int /*x*/, int /*y*/) {}

void IEffectBase::SetParamFromEditor(int paramIdx, double normalized)
{
    // The host must never be sent a value outside 0..1, nor NaN.
    if (paramIdx < 0 || paramIdx >= GetParamCount() || std::isnan(normalized)) {
        return;
    }
    normalized = std::clamp(normalized, 0.0, 1.0);
    {
        Lock lock(mLock);
        GetParam(paramIdx)->SetFromNormalized(normalized);
        // The control that made the edit already shows it.
        if (static_cast<std::size_t>(paramIdx) < mShownValues.size()) {
            mShownValues[static_cast<std::size_t>(paramIdx)] = GetParam(paramIdx)->GetNormalized();
        }
        OnParamChanged(paramIdx);
    }
    // The host hears of it once the lock is released: its handler may take
    // any time, and the audio thread must never wait for it.
    ReportParamChange(paramIdx, normalized);
}

bool IEffectBase::IsOfflineRender() const
{
    return false;
}

int IEffectBase::GetHostId() const
{
    return mHostId;
}

int IEffectBase::GetApiId() const
{
    return mApiId;
}

void IEffectBase::OnEditorIdle() {}

void IEffectBase::AttachEditor(std::unique_ptr<IEditorContext> editor)
{
    if (!editor) {
        return;
    }
    // The editor is filled and its surface allocated without the lock
    // (values are read race-free); whatever changes later reaches it on its
    // timer (FollowParamsInEditor).
    std::vector<double> shown(static_cast<std::size_t>(GetParamCount()));
    for (int i = 0; i < GetParamCount(); ++i) {
        shown[static_cast<std::size_t>(i)] = GetParam(i)->GetNormalized();
        editor->SetParameterFromPlugin(i, shown[static_cast<std::size_t>(i)], true);
    }
    editor->PrepareDrawSurface();
    Lock lock(mLock);
    mShownValues = std::move(shown);
    mEditor = std::move(editor);
}

void IEffectBase::SetLatencySamples(int samples)
{
    mLatency = samples;
}

bool IEffectBase::SendSysexMessage(const ISysexMessage& /*message*/)
{
    return false;
}

void IEffectBase::RefreshEditorControls()
{
    if (!mEditor) {
        return;
    }
    for (int i = 0; i < GetParamCount(); ++i) {
        mEditor->SetParameterFromPlugin(i, GetParam(i)->Value(), false);
    }
}

void IEffectBase::OnEditorRefreshed() {}

void IEffectBase::OnPresetsChanged() {}

void IEffectBase::SetMaxBlockSize(int frames)
{
    frames = std::max(frames, 0);
    if (frames == mBlockSize) {
        return;
    }
    for (IInputChannel& channel : mInputChannels) {
        ResizeScratch(channel, frames);
    }
    for (IOutputChannel& channel : mOutputChannels) {
        ResizeScratch(channel, frames);
    }
    mBlockSize = frames;
}

// ---- channel configuration and buffers ---------------------------------------

bool IEffectBase::LegalIO(int inputs, int outputs) const
{
    const bool legal = std::any_of(mChannelIOPairs.begin(), mChannelIOPairs.end(),
                                   [&](const IChannelIOPair& pair) {
                                       return (inputs < 0 || inputs == pair.inputs) &&
                                              (outputs < 0 || outputs == pair.outputs);
                                   });
    KELDRA_TRACE("IEffectBase::LegalIO", "%d:%d:%s", inputs, outputs, legal ? "legal" : "illegal");
    return legal;
}

void IEffectBase::SetInputsConnected(int start, int count, bool connected) noexcept
{
    SetConnected(mInputChannels, start, count, connected);
}

void IEffectBase::SetOutputsConnected(int start, int count, bool connected) noexcept
{
    SetConnected(mOutputChannels, start, count, connected);
}

void IEffectBase::BindInputs32(int start, int count, const float* const* hostArrays, int frames) noexcept
{
    // Never write past the scratch sized for the largest block.
    const auto n = static_cast<std::size_t>(std::max(frames, 0));
    BindConnected(mInputChannels, start, count, hostArrays, [n](IInputChannel& channel, const float* source) {
        const std::size_t used = std::min(n, channel.scratch.size());
        // A host may leave an input channel unconnected (a null array): it reads as silence.
        if (source) {
            std::copy(source, source + used, channel.scratch.begin());
        } else {
            std::fill_n(channel.scratch.begin(), used, 0.0);
        }
        *channel.slot = channel.scratch.data();
    });
}

void IEffectBase::BindInputs64(int start, int count, double* const* hostArrays) noexcept
{
    BindConnected(mInputChannels, start, count, hostArrays, [](IInputChannel& channel, double* source) {
        if (source) {
            *channel.slot = source;
        } else {
            std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
            *channel.slot = channel.scratch.data();
        }
    });
}

int IEffectBase::ConnectHostInputs(int channels) noexcept
{
    const int total = GetInputCount();
    const int n = std::min(std::max(channels, 0), total);
    SetInputsConnected(0, n, true);
    SetInputsConnected(n, total, false);
    if (n < total) {
        ClearScratchBuffers();
    }
    return n;
}

void IEffectBase::BindHostInputs32(float* const* hostArrays, int channels, int offset, int frames,
                                   float** parts) noexcept
{
    const int n = ConnectHostInputs(hostArrays != nullptr ? channels : 0);
    for (int c = 0; c < n; ++c) {
        parts[c] = AdvancedHostArray(hostArrays[c], offset);
    }
    BindInputs32(0, n, parts, frames);
}

void IEffectBase::BindHostInputs64(double* const* hostArrays, int channels, int offset, double** parts) noexcept
{
    const int n = ConnectHostInputs(hostArrays != nullptr ? channels : 0);
    for (int c = 0; c < n; ++c) {
        parts[c] = AdvancedHostArray(hostArrays[c], offset);
    }
    BindInputs64(0, n, parts);
}

void IEffectBase::BindOutputs32(int start, int count, float* const* hostArrays) noexcept
{
    // A null host array gets no conversion: the channel's output is dropped.
    BindConnected(mOutputChannels, start, count, hostArrays, [](IOutputChannel& channel, float* destination) {
        *channel.slot = channel.scratch.data();
        channel.destination32 = destination;
    });
}

void IEffectBase::BindOutputs64(int start, int count, double* const* hostArrays) noexcept
{
    BindConnected(mOutputChannels, start, count, hostArrays, [](IOutputChannel& channel, double* destination) {
        // The effect always has somewhere to write: a null host array is
        // replaced by the channel's scratch, whose contents are dropped.
        *channel.slot = destination ? destination : channel.scratch.data();
        // A later 32-bit conversion must not write into a stale host array.
        channel.destination32 = nullptr;
    });
}

void IEffectBase::ConvertOutputs32(int frames) noexcept
{
    for (IOutputChannel& channel : mOutputChannels) {
        if (!channel.connected || !channel.destination32 || !*channel.slot) {
            continue;
        }
        const double* source = *channel.slot;
        for (int f = 0; f < frames; ++f) {
            channel.destination32[f] = static_cast<float>(source[f]);
        }
    }
}

void IEffectBase::PassThrough(int frames) noexcept
{
    CopyOrSilence(mInputData.data(), GetInputCount(), mOutputData.data(), GetOutputCount(), frames);
}

void IEffectBase::ClearScratchBuffers() noexcept
{
    for (IInputChannel& channel : mInputChannels) {
        std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
    }
    for (IOutputChannel& channel : mOutputChannels) {
        std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
    }
}

// ---- what every format binding does alike ----------------------------------------

namespace {

void PutFlag(std::uint8_t* bytes, std::uint32_t flag) noexcept
{
    for (int i = 0; i < IEffectBase::kStateFlagBytes; ++i) {
        bytes[i] = static_cast<std::uint8_t>(flag >> (8 * i));
    }
}

std::uint32_t GetFlag(const std::uint8_t* bytes) noexcept
{
    std::uint32_t flag = 0;
    for (int i = 0; i < IEffectBase::kStateFlagBytes; ++i) {
        flag |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    }
    return flag;
}

}  // namespace

bool IEffectBase::WriteStateChunk(std::uint8_t* bytes, std::size_t capacity) noexcept
{
    const int valueBytes = StateValueBytes();
    if (bytes == nullptr || capacity < static_cast<std::size_t>(StateChunkBytes())) {
        return false;
    }
    Lock lock(mLock);
    mStateBuffer.ResizeBuffer(0, false);
    if (!SaveState(mStateBuffer) || mStateBuffer.Size() != valueBytes) {
        return false;
    }
    if (valueBytes > 0) {
        std::memcpy(bytes, mStateBuffer.Data(), static_cast<std::size_t>(valueBytes));
    }
    PutFlag(bytes + valueBytes, IsBypassed() ? 1u : 0u);
    return true;
}

IEffectBase::StateRead IEffectBase::ReadStateChunk(const std::uint8_t* bytes, std::size_t size) noexcept
{
    const int valueBytes = StateValueBytes();
    if (size < static_cast<std::size_t>(valueBytes) || (bytes == nullptr && valueBytes > 0)) {
        return StateRead::kRefused;
    }
    Lock lock(mLock);
    mStateBuffer.ResizeBuffer(0, false);
    if (mStateBuffer.PutBytes(bytes, valueBytes) != valueBytes) {
        return StateRead::kRefused;
    }
    // The audio thread sees the restore as under way until every value
    // and the bypass are in place.
    mWholeSetGate.Claim();
    LoadState(mStateBuffer, 0);
    const bool whole = size >= static_cast<std::size_t>(StateChunkBytes());
    if (whole) {
        SetBypassed(GetFlag(bytes + valueBytes) != 0);
    }
    mWholeSetGate.Release();
    RefreshEditorControls();
    return whole ? StateRead::kWhole : StateRead::kValuesOnly;
}

bool IEffectBase::SetParamFromHost(int paramIdx, double plain) noexcept
{
    if (paramIdx < 0 || paramIdx >= GetParamCount() || !std::isfinite(plain)) {
        return false;
    }
    GetParam(paramIdx)->SetPlain(plain);
    OnParamChanged(paramIdx);
    return true;
}

void IEffectBase::FollowParamsInEditor()
{
    if (!mEditor) {
        return;
    }
    for (int i = 0; i < GetParamCount(); ++i) {
        const double now = GetParam(i)->GetNormalized();
        double& shown = mShownValues[static_cast<std::size_t>(i)];
        if (now != shown) {
            shown = now;
            mEditor->SetParameterFromPlugin(i, now, true);
        }
    }
}

bool IEffectBase::PrepareProcessing(double sampleRate, std::int64_t hostMaxFrames) noexcept
{
    if (!(sampleRate > 0.0) || !std::isfinite(sampleRate) || hostMaxFrames < 1) {
        return false;
    }
    Lock lock(mLock);
    try {
        SetMaxBlockSize(static_cast<int>(std::min<std::int64_t>(hostMaxFrames, kMaxInternalBlock)));
    } catch (const std::bad_alloc&) {
        return false;
    }
    SetSampleRate(sampleRate);
    RestartSignal();
    return true;
}

void IEffectBase::RestartSignal() noexcept
{
    mHaveWholeSet = false;
    mBypassFade.SnapAtNextPart();
    OnReset();
}

bool IEffectBase::QueueProgramChange(int index) noexcept
{
    if (index < 0 || index >= GetPresetCount()) {
        return false;
    }
    mQueuedProgram.store(index, std::memory_order_relaxed);
    return true;
}

void IEffectBase::ApplyQueuedProgram() noexcept
{
    const int index = mQueuedProgram.load(std::memory_order_relaxed);
    if (index < 0 || !mWholeSetGate.TryClaim()) {
        return;
    }
    mQueuedProgram.store(-1, std::memory_order_relaxed);
    // Capturing into a preset never initialised names it and may allocate:
    // that is the user-interface side's LoadPreset, never this thread's.
    IPresetSlot& preset = *GetPreset(index);
    const bool loaded = preset.IsInitialized() && LoadState(preset.Chunk(), 0) > 0;
    mWholeSetGate.Release();
    if (loaded) {
        mCurrentPreset = index;
        ReportProgramChange();
    }
}

bool IEffectBase::TakeWholeSet() noexcept
{
    ApplyQueuedProgram();
    bool hostBypass = false;
    const bool whole = mWholeSetGate.ReadWhole([&] {
        for (std::size_t i = 0; i < mReadValues.size(); ++i) {
            mReadValues[i] = mParams[i]->Value();
        }
        hostBypass = IsBypassed();
    });
    if (whole) {
        mSettledValues.swap(mReadValues);
        mSettledHostBypass = hostBypass;
        mHaveWholeSet = true;
    }
    return mHaveWholeSet;
}

bool IEffectBase::IsBypassWanted() const noexcept
{
    return mSettledHostBypass || (mBypassParam >= 0 && SettledValue(mBypassParam) >= 0.5);
}

void IEffectBase::CrossFadeOutputs(int frames) noexcept
{
    for (int i = 0; i < GetOutputCount(); ++i) {
        const IOutputChannel& channel = mOutputChannels[static_cast<std::size_t>(i)];
        double* out = *channel.slot;
        if (!channel.connected || out == nullptr) {
            continue;
        }
        const double* dry = i < GetInputCount() ? mInputData[static_cast<std::size_t>(i)] : nullptr;
        mBypassFade.Mix(channel.scratch.data(), dry, out, frames);
    }
    mBypassFade.Advance(frames);
}

// ---- state and presets ---------------------------------------------------------

bool IEffectBase::SerializeParams(IStateChunk& chunk)
{
    for (int i = 0; i < GetParamCount(); ++i) {
        const IParamRecord& param = *GetParam(i);
        const double value = param.Value();
        KELDRA_TRACE("IEffectBase::SerializeParams", "%d %s %f", i, param.Name(), value);
        const int before = chunk.Size();
        // A put that did not grow the chunk ran out of memory.
        if (chunk.PutValue(value) != before + static_cast<int>(sizeof value)) {
            return false;
        }
    }
    return true;
}

int IEffectBase::UnserializeParams(const IStateChunk& chunk, int start)
{
    int position = start;
    for (int i = 0; i < GetParamCount() && position >= 0; ++i) {
        IParamRecord& param = *GetParam(i);
        double value = 0.0;
        const int next = chunk.GetValue(value, position);
        param.SetPlain(value);
        KELDRA_TRACE("IEffectBase::UnserializeParams", "%d %s %f", i, param.Name(), param.Value());
        position = next;
    }
    // Every index hears of the restore, after all values are in place.
    for (int i = 0; i < GetParamCount(); ++i) {
        OnParamChanged(i);
    }
    return position;
}

void IEffectBase::InitDefaultPresets(const char* name)
{
    const auto free = std::find_if(mPresets.begin(), mPresets.end(),
                                   [](const auto& preset) { return !preset->IsInitialized(); });
    if (free == mPresets.end()) {
        return;
    }
    IPresetSlot& preset = **free;
    preset.SetName(name);
    SaveState(preset.Chunk());
    preset.SetInitialized(true);
}

bool IEffectBase::LoadPreset(int index)
{
    if (index < 0 || index >= GetPresetCount()) {
        return false;
    }
    IPresetSlot& preset = *GetPreset(index);
    bool loaded = false;
    if (preset.IsInitialized()) {
        mWholeSetGate.Claim();
        loaded = LoadState(preset.Chunk(), 0) > 0;
        mWholeSetGate.Release();
    } else {
        const auto userPresets = std::count_if(mPresets.begin(), mPresets.end(), [](const auto& p) {
            return std::strstr(p->Name(), "user preset") != nullptr;
        });
        char name[IPresetSlot::kNameSize];
        std::snprintf(name, sizeof name, "%s %d", "user preset", static_cast<int>(userPresets) + 1);
        preset.SetName(name);
        loaded = SaveState(preset.Chunk());
        // Only now may a program change on the audio thread read it.
        preset.SetInitialized(true);
    }
    if (loaded) {
        mCurrentPreset = index;
        OnPresetsChanged();
        RefreshEditorControls();
    }
    return loaded;
}

void IEffectBase::SetHost(int hostId, std::int32_t hostVersion) noexcept
{
    mHostId = hostId;
    mHostVersion = hostVersion;
}
