// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IChannelIOPair.h"
#include "framework/IEditorContext.h"
#include "framework/IInputChannel.h"
#include "framework/IMidiMessage.h"
#include "framework/IOutputChannel.h"
#include "framework/IParamRecord.h"
#include "framework/IPresetSlot.h"
#include "framework/IStateChunk.h"
#include "framework/ISysexMessage.h"
#include "framework/ITransportInfo.h"
#include "platform/RelaxedAtomic.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

/// The format-independent plug-in base: owns the parameters, presets, channel
/// configuration and per-channel buffers, the processing settings and the
/// re-entrant lock that serialises the user-interface side's calls among
/// themselves. The audio thread never takes it: parameter values and the
/// effect's working values are atomics, editor edits leave through the
/// binding's lock-free queues. A format binding derives from it and implements the abstract
/// host-facing operations; the effect derives from the binding and overrides
/// the destructor, OnReset, OnParamChanged and ProcessBlock.
///
/// Thread tags: [audio] the host's process thread, [ui] the host's
/// user-interface thread, [any] either. "locks" means the operation holds the
/// plug-in lock for its whole run (re-entrant, so callers may already hold it).
class IEffectBase {
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
    /// [ui] Processing is about to (re)start: clear the signal state. Locks.
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

    // ---- channel configuration and buffers --------------------------------

    /// [ui] True if a legal configuration matches; a negative count matches any.
    bool LegalIO(int inputs, int outputs) const;
    /// [any] (Dis)connects channels [start, start + count); a disconnected
    /// channel's slot points at its own scratch array.
    void SetInputsConnected(int start, int count, bool connected) noexcept;
    void SetOutputsConnected(int start, int count, bool connected) noexcept;
    /// [audio] For each connected input in [start, start + count), takes the
    /// next host array, converts `frames` samples into the channel's scratch
    /// and points the slot there. Disconnected channels take no host array.
    /// A null host array reads as silence (in both sample sizes).
    void BindInputs32(int start, int count, const float* const* hostArrays, int frames) noexcept;
    /// [audio] As BindInputs32, but points the slots at the host arrays.
    void BindInputs64(int start, int count, double* const* hostArrays) noexcept;
    /// [audio] Binds the host's input arrays for the part of a block that
    /// starts `offset` frames in: the first `channels` inputs (at most the
    /// input count; none without arrays) read the host's arrays from there,
    /// the others are disconnected and read silence, not what an earlier
    /// call left in their scratch. `parts` holds a pointer per input.
    void BindHostInputs32(float* const* hostArrays, int channels, int offset, int frames, float** parts) noexcept;
    void BindHostInputs64(double* const* hostArrays, int channels, int offset, double** parts) noexcept;
    /// [audio] Connected outputs write into their scratch; the next host
    /// array becomes the destination of ConvertOutputs32. A null host array
    /// is skipped (in both sample sizes): the effect writes into scratch.
    void BindOutputs32(int start, int count, float* const* hostArrays) noexcept;
    /// [audio] Connected outputs write straight into the host arrays.
    void BindOutputs64(int start, int count, double* const* hostArrays) noexcept;
    /// [audio] Converts every connected output bound by BindOutputs32 back
    /// to single precision.
    void ConvertOutputs32(int frames) noexcept;
    /// [audio] Bypass: copies input i to output i, zero-fills outputs without an input.
    void PassThrough(int frames) noexcept;
    /// [audio] Zeroes every channel's scratch array.
    void ClearScratchBuffers() noexcept;
    /// [audio] Runs the effect over `frames` frames of the bound
    /// inputs; `bindOutputs()` binds the host's output arrays. Under the
    /// host's bypass the effect runs on into the scratch arrays, so all it
    /// keeps follows the input and leaving bypass brings no burst, and the
    /// host hears the input itself. The outputs are bound only after the
    /// effect ran, so a host that processes in place keeps its input.
    template <typename BindOutputs>
    void ProcessBoundInputs(int frames, BindOutputs&& bindOutputs) noexcept
    {
        if (IsBypassed()) {
            SetOutputsConnected(0, GetOutputCount(), false);
            ProcessBlock(GetInputData(), GetOutputData(), frames);
            bindOutputs();
            PassThrough(frames);
        } else {
            bindOutputs();
            ProcessBlock(GetInputData(), GetOutputData(), frames);
        }
    }

    // ---- what every format binding does alike ---------------------------------

    /// The largest part of a block the effect runs at once: scratch memory
    /// stays bounded whatever maximum a host announces, and longer host
    /// blocks run in parts.
    static constexpr int kMaxInternalBlock = 4096;
    /// Bytes of the host bypass flag (32-bit little-endian, 1 = bypassed)
    /// that follows the parameter values in the state chunk.
    static constexpr int kStateFlagBytes = 4;
    /// Bytes of the parameter values, and of the whole state chunk.
    int StateValueBytes() const noexcept { return GetParamCount() * static_cast<int>(sizeof(double)); }
    int StateChunkBytes() const noexcept { return StateValueBytes() + kStateFlagBytes; }

    /// [ui] A buffer of StateChunkBytes() for a binding's stream I/O, or
    /// nullptr when memory ran out (never throws).
    std::unique_ptr<std::uint8_t[]> MakeStateBuffer() const noexcept
    {
        return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(StateChunkBytes())]);
    }
    /// [ui] Writes the state chunk (every plain value, then the host bypass
    /// flag) into `bytes`, which holds at least StateChunkBytes(); false
    /// when it does not. Allocates nothing.
    bool WriteStateChunk(std::uint8_t* bytes, std::size_t capacity) noexcept;
    /// How a state chunk was taken.
    enum class StateRead {
        kRefused,     ///< shorter than the values: nothing changed
        kValuesOnly,  ///< an older chunk without the bypass flag: values restored, bypass kept
        kWhole,       ///< values and bypass flag restored
    };
    /// [ui] Restores a chunk written by WriteStateChunk, all of it or
    /// nothing: values (clamped, snapped, non-finite ones ignored), then the
    /// host bypass flag when present; the effect hears OnParamChanged for
    /// every index, the editor is refreshed. Allocates nothing.
    StateRead ReadStateChunk(const std::uint8_t* bytes, std::size_t size) noexcept;

    /// [audio] Runs `read`, which copies what the effect derives from its
    /// parameters for a block, and tells whether that copy is whole: false
    /// when a state restore (ReadStateChunk) was half applied meanwhile. The
    /// effect then keeps the set it took last and takes the restored set,
    /// whole, at a later block. Never waits.
    template <typename Read>
    bool ReadSettled(Read&& read) const noexcept
    {
        const std::uint32_t before = mRestoring.load(std::memory_order_acquire);
        if ((before & 1u) != 0)
            return false;
        read();
        // A read-modify-write that changes nothing, ordered after the reads.
        return mRestoring.fetch_add(0, std::memory_order_release) == before;
    }

    /// [any] A host set parameter `paramIdx` to `plain`: clamped, snapped to
    /// its step, a non-finite value or a bad index ignored (false); the
    /// editor's controls follow and the effect hears OnParamChanged.
    /// Takes no lock.
    bool SetParamFromHost(int paramIdx, double plain) noexcept;

    /// [ui, not while processing] Sets the rate, sizes the scratch arrays for
    /// the host's largest block (at most kMaxInternalBlock frames) and
    /// clears the signal state (OnReset). False, keeping the rate and block
    /// size, for a rate that is not a positive number, a block below 1
    /// frame, or memory that ran out. Never throws.
    bool PrepareProcessing(double sampleRate, std::int64_t hostMaxFrames) noexcept;

    /// [audio] Runs a host block of `frames` frames in parts of at most the
    /// block size, ending a part wherever `nextChange(done)` says the next
    /// change is due (a frame offset; `frames` or more when none is).
    /// Before each part `applyChangesAt(done)` applies what is due at
    /// `done`; `processPart(offset, count)` binds and runs the part (through
    /// ProcessBoundInputs). A block of 0 frames, or one before set-up, still
    /// applies its changes and runs one empty part so the effect's design
    /// follows the settings.
    template <typename NextChange, typename ApplyChangesAt, typename ProcessPart>
    void ProcessHostBlock(int frames, NextChange&& nextChange, ApplyChangesAt&& applyChangesAt,
                          ProcessPart&& processPart) noexcept
    {
        const int limit = GetBlockSize();
        int done = 0;
        do {
            applyChangesAt(done);
            if (limit < 1)
                break;
            int end = frames - done > limit ? done + limit : frames;  // never past INT_MAX
            const int due = nextChange(done);
            if (due > done && due < end)
                end = due;
            processPart(done, end - done);
            done = end;
        } while (done < frames);
        if (limit < 1)
            processPart(0, 0);
    }

    // ---- state and presets ---------------------------------------------------

    /// [any] Appends every parameter's plain value (binary64) in index order;
    /// false if memory ran out. Takes no lock (the values are atomics; the
    /// state pair above serialises the user-interface side).
    bool SerializeParams(IStateChunk& chunk);
    /// [any] Restores values in index order from `start` (clamped, stepped
    /// kinds snapped to their step, non-finite values ignored), then calls
    /// OnParamChanged for every index. Returns the position after the last
    /// value, or -1 if the data ran out. Takes no lock, so a program change
    /// on the audio thread never waits.
    int UnserializeParams(const IStateChunk& chunk, int start);
    /// [ui] Marks the first uninitialised preset initialised, names it and
    /// saves the current values into it.
    void InitDefaultPresets(const char* name);
    /// [any] Restores preset `index`, or captures the current values into it
    /// as "user preset N" if it was never initialised. False for a bad index.
    bool LoadPreset(int index);

    // ---- accessors -----------------------------------------------------------

    std::recursive_mutex& GetLock() noexcept { return mLock; }

    int GetParamCount() const noexcept { return static_cast<int>(mParams.size()); }
    /// [any] Parameter `paramIdx` (0 <= paramIdx < GetParamCount()).
    IParamRecord* GetParam(int paramIdx) noexcept { return mParams[static_cast<std::size_t>(paramIdx)].get(); }
    const IParamRecord* GetParam(int paramIdx) const noexcept { return mParams[static_cast<std::size_t>(paramIdx)].get(); }
    int GetPresetCount() const noexcept { return static_cast<int>(mPresets.size()); }
    IPresetSlot* GetPreset(int index) noexcept { return mPresets[static_cast<std::size_t>(index)].get(); }
    const IPresetSlot* GetPreset(int index) const noexcept { return mPresets[static_cast<std::size_t>(index)].get(); }
    int GetCurrentPreset() const noexcept { return mCurrentPreset; }

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

    /// [any] Host bypass; read by the controller without the lock, hence atomic.
    bool IsBypassed() const noexcept { return mBypassed; }
    void SetBypassed(bool bypassed) noexcept { mBypassed = bypassed; }
    double GetSampleRate() const noexcept { return mSampleRate; }
    void SetSampleRate(double sampleRate) noexcept { mSampleRate = sampleRate; }
    int GetBlockSize() const noexcept { return mBlockSize; }
    int GetLatency() const noexcept { return mLatency; }
    int GetTailSize() const noexcept { return mTailSize; }

    const std::vector<IChannelIOPair>& GetChannelIOPairs() const noexcept { return mChannelIOPairs; }
    int GetInputCount() const noexcept { return static_cast<int>(mInputChannels.size()); }
    int GetOutputCount() const noexcept { return static_cast<int>(mOutputChannels.size()); }
    const IInputChannel& GetInputChannel(int i) const noexcept { return mInputChannels[static_cast<std::size_t>(i)]; }
    const IOutputChannel& GetOutputChannel(int i) const noexcept { return mOutputChannels[static_cast<std::size_t>(i)]; }
    /// [audio] What ProcessBlock reads and writes: one array per channel,
    /// nullptr when the plug-in has no inputs (outputs).
    double** GetInputData() noexcept { return mInputData.empty() ? nullptr : mInputData.data(); }
    double** GetOutputData() noexcept { return mOutputData.empty() ? nullptr : mOutputData.data(); }

    /// [ui] Bus names, filled by the binding.
    void AddInputBusName(const char* name) { mInputBusNames.emplace_back(name); }
    void AddOutputBusName(const char* name) { mOutputBusNames.emplace_back(name); }
    const std::vector<std::string>& GetInputBusNames() const noexcept { return mInputBusNames; }
    const std::vector<std::string>& GetOutputBusNames() const noexcept { return mOutputBusNames; }
    /// [ui] Distinct non-empty parameter groups in order of first use; the
    /// binding fills it. The strings belong to the parameters.
    std::vector<const char*>& GetGroupNames() noexcept { return mGroupNames; }

    /// [any] The attached editor, or nullptr. Owned by the base.
    IEditorContext* GetEditor() noexcept { return mEditor.get(); }

private:
    void ParseChannelIO(const char* text);
    /// [audio] Connects the first `channels` inputs (clamped to the input
    /// count), disconnects the rest and clears the scratch they read;
    /// returns how many are connected.
    int ConnectHostInputs(int channels) noexcept;

    std::vector<IChannelIOPair> mChannelIOPairs;
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
    RelaxedAtomic<bool> mBypassed = false;
    /// Written by a program change on the audio thread, read by the controller.
    RelaxedAtomic<int> mCurrentPreset = 0;
    double mSampleRate = 44100.0;
    int mBlockSize = 0;
    int mLatency;
    int mTailSize = 0;
    std::vector<const char*> mGroupNames;
    std::unique_ptr<IEditorContext> mEditor;
    std::vector<std::unique_ptr<IParamRecord>> mParams;
    std::vector<std::unique_ptr<IPresetSlot>> mPresets;
    std::vector<double*> mInputData;
    std::vector<double*> mOutputData;
    std::vector<IInputChannel> mInputChannels;
    std::vector<IOutputChannel> mOutputChannels;
    std::vector<std::string> mInputBusNames;
    std::vector<std::string> mOutputBusNames;
    /// Pre-sized for a whole state: the state pair never allocates.
    IStateChunk mStateBuffer{IStateChunk::kDefaultGranularity};
    /// Odd while ReadStateChunk applies a state (see ReadSettled).
    mutable std::atomic<std::uint32_t> mRestoring{0};
};
