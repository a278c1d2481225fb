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

}  // namespace

IEffectBase::IEffectBase(int paramCount, const char* channelIOText, int presetCount,
                         const char* effectName, const char* productName, const char* makerName,
                         std::int32_t version, std::int32_t uniqueId, std::int32_t makerId,
                         int latency, bool doesMidi, bool isInstrument)
    : ChannelBinder(channelIOText),
      ParamStore(paramCount, presetCount),
      mUniqueId(uniqueId),
      mMakerId(makerId),
      mVersion(version),
      mIsInstrument(isInstrument),
      mDoesMidi(doesMidi),
      mLatency(latency)
{
    KELDRA_TRACE("IEffectBase::IEffectBase", "%s:%s", effectName,
                 MakeTraceTimeStamp(std::time(nullptr)).text);

    CopyText(mEffectName, effectName);
    CopyText(mProductName, productName);
    CopyText(mMakerName, makerName);
}

IEffectBase::~IEffectBase()
{
    // The editor goes first: its controls may still refer to the parameters.
    mEditorLink.Drop();
}

// ---- virtual operations -----------------------------------------------------

void IEffectBase::OnReset() {}

void IEffectBase::OnParamChanged(int /*paramIdx*/) {}

void IEffectBase::ProcessBlock(double** inputs, double** outputs, int frames) noexcept
{
    CopyOrSilence(inputs, outputs, frames);
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
        mEditorLink.NoteShown(paramIdx, GetParam(paramIdx)->GetNormalized());
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
    // The editor is filled and its surface allocated without the lock;
    // whatever changes later reaches it on its timer (FollowParamsInEditor).
    std::vector<double> shown = mEditorLink.Fill(*editor);
    Lock lock(mLock);
    mEditorLink.Keep(std::move(editor), std::move(shown));
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
    mEditorLink.Refresh();
}

void IEffectBase::OnEditorRefreshed() {}

void IEffectBase::OnPresetsChanged() {}

void IEffectBase::SetMaxBlockSize(int frames)
{
    ResizeScratch(frames);
}

// ---- what every format binding does alike ----------------------------------------

bool IEffectBase::WriteStateChunk(std::uint8_t* bytes, std::size_t capacity) noexcept
{
    const int valueBytes = StateValueBytes();
    if (bytes == nullptr || capacity < static_cast<std::size_t>(StateChunkBytes())) {
        return false;
    }
    Lock lock(mLock);
    StateBuffer().ResizeBuffer(0, false);
    if (!SaveState(StateBuffer()) || StateBuffer().Size() != valueBytes) {
        return false;
    }
    if (valueBytes > 0) {
        std::memcpy(bytes, StateBuffer().Data(), static_cast<std::size_t>(valueBytes));
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
    StateBuffer().ResizeBuffer(0, false);
    if (StateBuffer().PutBytes(bytes, valueBytes) != valueBytes) {
        return StateRead::kRefused;
    }
    // The audio thread sees the restore as under way until every value
    // and the bypass are in place.
    ClaimWholeSet();
    LoadState(StateBuffer(), 0);
    const bool whole = size >= static_cast<std::size_t>(StateChunkBytes());
    if (whole) {
        SetBypassed(GetFlag(bytes + valueBytes) != 0);
    }
    ReleaseWholeSet();
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
    mEditorLink.Follow();
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

void IEffectBase::StartUp(int hostId)
{
    Lock lock(mLock);
    if (hostId != kHostNotYetKnown) {
        SetHost(hostId, 0);
    }
    OnHostInit();
    LoadPreset(0);
}

void IEffectBase::RestartSignal() noexcept
{
    ForgetWholeSet();
    SnapBypassFade();
    OnReset();
}

void IEffectBase::ApplyQueuedProgram() noexcept
{
    const int index = QueuedProgram();
    if (index < 0 || !TryClaimWholeSet()) {
        return;
    }
    ForgetQueuedProgram();
    // Capturing into a preset never initialised names it and may allocate:
    // that is the user-interface side's LoadPreset, never this thread's.
    IPresetSlot& preset = *GetPreset(index);
    const bool loaded = preset.IsInitialized() && LoadState(preset.Chunk(), 0) > 0;
    ReleaseWholeSet();
    if (loaded) {
        SetCurrentPreset(index);
        ReportProgramChange();
    }
}

bool IEffectBase::TakeWholeSet() noexcept
{
    ApplyQueuedProgram();
    return ReadWholeSet();
}

// ---- state and presets ---------------------------------------------------------

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
    const auto free = std::find_if(Presets().begin(), Presets().end(),
                                   [](const auto& preset) { return !preset->IsInitialized(); });
    if (free == Presets().end()) {
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
        ClaimWholeSet();
        loaded = LoadState(preset.Chunk(), 0) > 0;
        ReleaseWholeSet();
    } else {
        const auto userPresets = std::count_if(Presets().begin(), Presets().end(), [](const auto& p) {
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
        SetCurrentPreset(index);
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
