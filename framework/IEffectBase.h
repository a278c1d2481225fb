// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/ChannelBinder.h"
#include "framework/EditorLink.h"
#include "framework/ParamStore.h"
#include "framework/IEditorContext.h"
#include "framework/IMidiMessage.h"
#include "framework/ISysexMessage.h"
#include "framework/ITransportInfo.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

/// The format-independent plug-in base: the hook table, the product's
/// identity and host information, the processing settings and the
/// re-entrant lock that serialises the user-interface side's calls among
/// themselves, and the steps that join its parts (ChannelBinder: channels,
/// scratch, host arrays, block splitting, bypass fade; ParamStore:
/// parameters, presets, state chunk, the whole set; EditorLink: the attached
/// editor). The audio thread never takes the lock: parameter values are
/// atomics, and each part of a block reads all of them as one set
/// (SettledValue), from which the effect derives its settings. A format
/// binding derives from it and implements the abstract host-facing
/// operations; the effect derives from the binding and overrides the
/// destructor, OnReset and ProcessBlock.
///
/// Thread tags: [audio] the host's process thread, [ui] the host's
/// user-interface thread, [any] either. "locks" means the operation holds the
/// plug-in lock for its whole run (re-entrant, so callers may already hold it).
class IEffectBase : public ChannelBinder, public ParamStore {
public:
    static constexpr int kNameSize = 128;
    static constexpr int kApiVst3 = 1;
    static constexpr int kApiLv2 = 2;
    static constexpr int kApiClap = 3;
    static constexpr int kHostNotYetKnown = -1;

    /// [ui] Creates `paramCount` fresh parameters and `presetCount` fresh
    /// presets, and parses `channelIOText` ("1-1 2-2": blank-separated
    /// "inputs-outputs" pairs) into the legal configurations; every channel
    /// starts disconnected. Ids are four-character codes (MakeFourCharCode);
    /// `version` is packed with the major version in the upper 16 bits.
    IEffectBase(int paramCount, const char* channelIOText, int presetCount, const char* effectName,
                const char* productName, const char* makerName, std::int32_t version,
                std::int32_t uniqueId, std::int32_t makerId, int latency = 0,
                bool doesMidi = false, bool isInstrument = false);
    IEffectBase(const IEffectBase&) = delete;
    IEffectBase& operator=(const IEffectBase&) = delete;

    // ---- virtual operations, in fixed slot order -------------------------

    /* 0 */ virtual ~IEffectBase();
    /// [ui, or audio for CLAP's reset; never while processing] Processing
    /// is about to (re)start: clear the signal state. Takes no lock.
    /* 1 */ virtual void OnReset();
    /// [any] Parameter `paramIdx` has a new value; may run on both threads
    /// at once. Takes no lock.
    /* 2 */ virtual void OnParamChanged(int paramIdx);
    /// [audio] Processes `frames` frames. `inputs`/`outputs` hold one
    /// array per channel (nullptr when there are none). The default copies
    /// input i to output i and zero-fills outputs without an input.
    /* 3 */ virtual void ProcessBlock(double** inputs, double** outputs, int frames) noexcept;
    /// [ui] The editor window has opened.
    /* 4 */ virtual void OnEditorOpened();
    /// [ui] The editor window is about to close.
    /* 5 */ virtual void OnEditorClosed();
    /// [ui] Idle time offered by the host. Empty.
    /* 6 */ virtual void OnIdle();
    /// [ui] The host (de)activated processing. Locks.
    /* 7 */ virtual void OnActivate(bool active);
    /// [audio] A MIDI message arrived; the default sends it on.
    /* 8 */ virtual void OnMidiMessage(const IMidiMessage& message);
    /// [audio] A system-exclusive message arrived. Empty.
    /* 9 */ virtual void OnSysexMessage(const ISysexMessage& message);
    /// [ui] Name of MIDI note `note` for the host; writes "" to `text`
    /// (at least one byte) and returns false when there is none.
    /* 10 */ virtual bool GetMidiNoteText(int note, char* text);
    /// [any] Appends the plug-in state to `chunk` (SerializeParams).
    /* 11 */ virtual bool SaveState(IStateChunk& chunk);
    /// [any] Restores the state at `start` (UnserializeParams); returns the
    /// position after it, or -1 if the data ran out.
    /* 12 */ virtual int LoadState(const IStateChunk& chunk, int start);
    /// [any] True if every parameter i's value matches values[start + i]
    /// (absolute difference, in single precision, below 1e-5).
    /* 13 */ virtual bool StateEquals(const double* values, int start) const;
    /// [ui] The editor view took a new size (the view's onSize). Empty.
    /* 14 */ virtual void OnEditorResized();
    /// [any] Whether the plug-in reads a side-chain input. False.
    /* 15 */ virtual bool UsesSidechain() const;
    /// [ui] The host is known (host id set). Empty.
    /* 16 */ virtual void OnHostInit();
    /// [ui] Shows the host's context menu for a parameter at editor pixel (x, y). Empty.
    /* 17 */ virtual void PopupHostContextMenu(int paramIdx, int x, int y);
    /// [ui] An editor control moved parameter `paramIdx`: stores the value
    /// and calls OnParamChanged under the lock, then reports it to the host
    /// (outside the lock). The value is clamped to 0..1; NaN or a bad index
    /// changes nothing.
    /* 18 */ virtual void SetParamFromEditor(int paramIdx, double normalized);
    /// [ui] A user gesture on a parameter starts (the host hears of it).
    /* 19 */ virtual void BeginParamGesture(int paramIdx) = 0;
    /// [ui] Tells the host that a parameter changed (normalised value).
    /* 20 */ virtual void ReportParamChange(int paramIdx, double normalized) = 0;
    /// [ui] The gesture begun by BeginParamGesture ends.
    /* 21 */ virtual void EndParamGesture(int paramIdx) = 0;
    /// [any] Tells the host that the current preset changed.
    /* 22 */ virtual void ReportProgramChange() = 0;
    /// [any] True while the host renders offline. False by default.
    /* 23 */ virtual bool IsOfflineRender() const;
    /// [audio] Project time of the block start, in samples.
    /* 24 */ virtual int GetSamplePosition() const = 0;
    /// [audio] Beats per minute.
    /* 25 */ virtual double GetTempo() const = 0;
    /// [audio] Time signature of the block start.
    /* 26 */ virtual void GetTimeSignature(int& numerator, int& denominator) const = 0;
    /// [audio] The host's transport as of the block start.
    /* 27 */ virtual void GetTransportInfo(ITransportInfo& info) const = 0;
    /// [any] Host kind (see ClassifyHostName), kHostNotYetKnown until known.
    /* 28 */ virtual int GetHostId() const;
    /// [any] Which format binding is in use (kApiVst3, kApiLv2, kApiClap).
    /* 29 */ virtual int GetApiId() const;
    /// [ui] Asks the host to resize the editor window; true if it did.
    /* 30 */ virtual bool ResizeEditor(int width, int height) = 0;
    /// [ui] The editor's idle tick. Empty.
    /* 31 */ virtual void OnEditorIdle();
    /// [ui] Takes ownership of the editor: delivers every parameter's
    /// normalised value to it, lets it prepare its draw surface, keeps it.
    /// Nothing happens for nullptr. Locks only to store it.
    /* 32 */ virtual void AttachEditor(std::unique_ptr<IEditorContext> editor);
    /// [ui] Stores the latency reported to the host, in samples.
    /* 33 */ virtual void SetLatencySamples(int samples);
    /// [audio] Sends a MIDI message to the host; true if it was taken.
    /* 34 */ virtual bool SendMidiMessage(const IMidiMessage& message) = 0;
    /// [audio] Sends a system-exclusive message to the host. False.
    /* 35 */ virtual bool SendSysexMessage(const ISysexMessage& message);
    /// [any] Gives every parameter's plain value to the
    /// attached editor's controls; nothing without an editor.
    /* 36 */ virtual void RefreshEditorControls();
    /// [ui] The editor's controls were refreshed. Empty.
    /* 37 */ virtual void OnEditorRefreshed();
    /// [any] A preset was loaded. Empty.
    /* 38 */ virtual void OnPresetsChanged();
    /// [ui, not while processing] Sizes every channel's scratch array to
    /// `frames` doubles (zeroed) when the block size changes.
    /* 39 */ virtual void SetMaxBlockSize(int frames);
    /// [audio] True when the last ProcessBlock's output was exact silence
    /// that stays so while the input does (hosts may skip it). False.
    /* 40 */ virtual bool OutputSilent() const noexcept { return false; }
    /// [any] Samples the output may go on after the input falls silent.
    /// GetTailSize().
    /* 41 */ virtual int TailSamples() const noexcept { return GetTailSize(); }

    // ---- one part of a block ------------------------------------------------

    /// A format's main input and output buses for one process call.
    template <typename Sample>
    struct HostBuses {
        Sample* const* inputs = nullptr;  ///< nullptr: no input arrays
        int inputChannels = 0;
        std::remove_const_t<Sample>* const* outputs = nullptr;  ///< nullptr: no output arrays
        int outputChannels = 0;
        bool outputActive = true;          ///< false: the host switched the bus off
    };
    /// [audio] One part of a host block, `frames` frames from `offset` on,
    /// alike in every format: binds the input bus, runs ProcessBoundInputs
    /// with the output bus bound after the effect, and converts single
    /// precision back. True when the part's output is exact silence.
    bool ProcessHostPart(const HostBuses<const float>& buses, int offset, int frames) noexcept
    {
        BindHostInputs(buses.inputs, buses.inputChannels, offset, frames);
        const bool silent = ProcessBoundInputs(frames, [&] {
            BindHostOutputs(buses.outputs, buses.outputChannels, buses.outputActive, offset);
        });
        ConvertOutputs32(frames);
        return silent;
    }
    bool ProcessHostPart(const HostBuses<double>& buses, int offset, int frames) noexcept
    {
        BindHostInputs(buses.inputs, buses.inputChannels, offset, frames);
        return ProcessBoundInputs(frames, [&] {
            BindHostOutputs(buses.outputs, buses.outputChannels, buses.outputActive, offset);
        });
    }

    /// [audio] Runs the effect over `frames` frames of the bound
    /// inputs; `bindOutputs()` binds the host's output arrays. First the
    /// part takes its whole set of values (TakeWholeSet). Under a bypass
    /// (the host's, or the effect's own switch) the effect runs on into the
    /// scratch arrays, so all it keeps follows the input and leaving bypass
    /// brings no burst, and the host hears the input itself; a switch
    /// cross-fades (BypassFade). The outputs are bound only after the effect
    /// ran, so a host that processes in place keeps its input. Until an
    /// activation's first whole set arrives the input passes and the effect
    /// waits, so it never starts from a half-restored set. True when the
    /// output is exact silence: the effect ran and slept through the part
    /// (OutputSilent), so its input was silent too and so is any fade.
    template <typename BindOutputs>
    bool ProcessBoundInputs(int frames, BindOutputs&& bindOutputs) noexcept
    {
        const bool whole = TakeWholeSet();
        const BypassFade::Stage stage = whole ? BeginBypassFade(IsBypassWanted(), GetSampleRate())
                                              : BypassFade::Stage::kInput;
        if (stage == BypassFade::Stage::kEffect) {
            bindOutputs();
            ProcessBlock(GetInputData(), GetOutputData(), frames);
            return OutputSilent();
        }
        if (whole) {
            SetOutputsConnected(0, GetOutputCount(), false);
            ProcessBlock(GetInputData(), GetOutputData(), frames);
        }
        bindOutputs();
        if (stage == BypassFade::Stage::kInput)
            PassThrough(frames);
        else
            CrossFadeOutputs(frames);
        return whole && OutputSilent();
    }

    // ---- what every format binding does alike ---------------------------------

    /// [ui] Writes the state chunk (every plain value, then the host bypass
    /// flag) into `bytes`, which holds at least StateChunkBytes(); false
    /// when it does not. Allocates nothing.
    bool WriteStateChunk(std::uint8_t* bytes, std::size_t capacity) noexcept;
    /// [ui] Restores a chunk written by WriteStateChunk, all of it or
    /// nothing: values (clamped, snapped, non-finite ones ignored), then the
    /// host bypass flag when present; the effect hears OnParamChanged for
    /// every index, the editor is refreshed. Allocates nothing.
    StateRead ReadStateChunk(const std::uint8_t* bytes, std::size_t size) noexcept;

    /// [audio] Applies a program change queued by QueueProgramChange if no
    /// other bulk write is under way, then reads every parameter value and
    /// the host bypass as one set for the part about to run. When the read
    /// is not whole, the set taken last stays. False while no whole set was
    /// taken since the last activation (RestartSignal).
    bool TakeWholeSet() noexcept;
    /// [ui] What every format does once its host is known: records the host
    /// kind (kHostNotYetKnown leaves it unknown), OnHostInit, then the first
    /// preset. Locks.
    void StartUp(int hostId);

    /// [ui, or audio for CLAP's reset; never while processing] Processing
    /// (re)starts: the next part takes a whole set before the effect runs,
    /// the bypass stands where that set says without a fade, and the effect
    /// clears its signal state (OnReset).
    void RestartSignal() noexcept;

    /// [any] A host set parameter `paramIdx` to `plain`: clamped, snapped to
    /// its step, a non-finite value or a bad index ignored (false); the
    /// effect hears OnParamChanged. The editor finds the change on its own
    /// timer (FollowParamsInEditor), so the audio thread never touches it.
    /// Takes no lock.
    bool SetParamFromHost(int paramIdx, double plain) noexcept;

    /// [ui] The editor's timer: delivers to the attached editor every
    /// parameter whose value changed since it was last shown.
    void FollowParamsInEditor();

    /// [ui, not while processing] Sets the rate, sizes the scratch arrays for
    /// the host's largest block (at most kMaxInternalBlock frames) and
    /// clears the signal state (OnReset). False, keeping the rate and block
    /// size, for a rate that is not a positive number, a block below 1
    /// frame, or memory that ran out. Never throws.
    bool PrepareProcessing(double sampleRate, std::int64_t hostMaxFrames) noexcept;

    // ---- state and presets ---------------------------------------------------

    /// [any] Restores values in index order from `start` (clamped, stepped
    /// kinds snapped to their step, non-finite values ignored), then calls
    /// OnParamChanged for every index. Returns the position after the last
    /// value, or -1 if the data ran out. Takes no lock; the caller holds the
    /// whole-set gate.
    int UnserializeParams(const IStateChunk& chunk, int start);
    /// [ui] Marks the first uninitialised preset initialised, names it and
    /// saves the current values into it.
    void InitDefaultPresets(const char* name);
    /// [ui] Restores preset `index` as one set, or captures the current
    /// values into it as "user preset N" if it was never initialised. False
    /// for a bad index. (A program change on the audio thread goes through
    /// QueueProgramChange.)
    bool LoadPreset(int index);

    // ---- accessors -----------------------------------------------------------

    std::recursive_mutex& GetLock() noexcept { return mLock; }


    const char* GetEffectName() const noexcept { return mEffectName; }
    const char* GetProductName() const noexcept { return mProductName; }
    const char* GetMakerName() const noexcept { return mMakerName; }
    std::int32_t GetUniqueId() const noexcept { return mUniqueId; }
    std::int32_t GetMakerId() const noexcept { return mMakerId; }
    std::int32_t GetVersion() const noexcept { return mVersion; }
    std::int32_t GetHostVersion() const noexcept { return mHostVersion; }
    /// [ui] Records the identified host (kind from ClassifyHostName).
    void SetHost(int hostId, std::int32_t hostVersion) noexcept;
    bool IsInstrument() const noexcept { return mIsInstrument; }
    bool DoesMidi() const noexcept { return mDoesMidi; }

    double GetSampleRate() const noexcept { return mSampleRate; }
    void SetSampleRate(double sampleRate) noexcept { mSampleRate = sampleRate; }
    int GetLatency() const noexcept { return mLatency; }
    int GetTailSize() const noexcept { return mTailSize; }

    /// [ui] Distinct non-empty parameter groups in order of first use; the
    /// binding fills it. The strings belong to the parameters.
    std::vector<const char*>& GetGroupNames() noexcept { return mGroupNames; }

    /// [any] The attached editor, or nullptr. Owned by the base.
    IEditorContext* GetEditor() noexcept { return mEditorLink.Get(); }

private:
    /// [audio] Applies a queued program change if the gate is free.
    void ApplyQueuedProgram() noexcept;

    std::recursive_mutex mLock;
    char mEffectName[kNameSize] = {};
    char mProductName[kNameSize] = {};
    char mMakerName[kNameSize] = {};
    std::int32_t mUniqueId;
    std::int32_t mMakerId;
    std::int32_t mVersion;
    int mApiId = kApiVst3;
    int mHostId = kHostNotYetKnown;
    std::int32_t mHostVersion = 0;
    bool mIsInstrument;
    bool mDoesMidi;
    double mSampleRate = 44100.0;
    int mLatency;
    int mTailSize = 0;
    std::vector<const char*> mGroupNames;
    EditorLink mEditorLink{*this};
};
