// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/BypassFade.h"
#include "framework/IChannelIOPair.h"
#include "framework/IInputChannel.h"
#include "framework/IOutputChannel.h"

#include <string>
#include <vector>

/// The plug-in base's audio side: the channel configurations, each channel's
/// scratch array and connection, the binding of a host's arrays for a part
/// of a block, a host block's split into parts, and the bypass cross-fade
/// over the bound outputs. Every format binding drives it alike.
class ChannelBinder {
public:
    /// The largest part of a block the effect runs at once: scratch memory
    /// stays bounded whatever maximum a host announces, and longer host
    /// blocks run in parts.
    static constexpr int kMaxInternalBlock = 4096;

    /// [ui] Parses `channelIOText` ("1-1 2-2": blank-separated
    /// "inputs-outputs" pairs) into the legal configurations; every channel
    /// starts disconnected.
    explicit ChannelBinder(const char* channelIOText);
    ChannelBinder(const ChannelBinder&) = delete;
    ChannelBinder& operator=(const ChannelBinder&) = delete;

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
    /// call left in their scratch. Single precision is converted into the
    /// scratch arrays (`frames` samples).
    void BindHostInputs(const float* const* hostArrays, int channels, int offset, int frames) noexcept;
    void BindHostInputs(double* const* hostArrays, int channels, int offset, int frames) noexcept;
    /// [audio] Binds the host's output arrays for the part of a block that
    /// starts `offset` frames in: the first `channels` outputs (none without
    /// arrays) write there when `active`, the others are disconnected.
    void BindHostOutputs(float* const* hostArrays, int channels, bool active, int offset) noexcept;
    void BindHostOutputs(double* const* hostArrays, int channels, bool active, int offset) noexcept;
    /// [audio] Writes silence into `channels` host arrays (null ones skipped).
    template <typename Sample>
    static void SilenceHostArrays(Sample* const* hostArrays, int channels, int frames) noexcept
    {
        for (int c = 0; hostArrays != nullptr && c < channels; ++c)
            if (hostArrays[c] != nullptr)
                for (int f = 0; f < frames; ++f)
                    hostArrays[c][f] = Sample(0);
    }
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

    /// [audio] Runs a host block of `frames` frames in parts of at most the
    /// block size, ending a part wherever `nextChange(done)` says the next
    /// change is due (a frame offset; `frames` or more when none is).
    /// Before each part `applyChangesAt(done)` applies what is due at
    /// `done`; `processPart(offset, count)` binds and runs the part (through
    /// the base's ProcessBoundInputs). A block of 0 frames, or one before
    /// set-up, still applies its changes and runs one empty part so the
    /// effect's design follows the settings.
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

    /// [audio] Where a part stands on the way between the effect's output
    /// and the input; the first part after SnapBypassFade stands where
    /// `bypassed` says.
    BypassFade::Stage BeginBypassFade(bool bypassed, double sampleRate) noexcept
    {
        return mBypassFade.Begin(bypassed, sampleRate);
    }
    /// [ui, not while processing, or audio] See BypassFade::SnapAtNextPart.
    void SnapBypassFade() noexcept { mBypassFade.SnapAtNextPart(); }
    /// [audio] Mixes each bound output between what the effect left in the
    /// output's scratch and the input, along the fade.
    void CrossFadeOutputs(int frames) noexcept;

    int GetBlockSize() const noexcept { return mBlockSize; }
    const std::vector<IChannelIOPair>& GetChannelIOPairs() const noexcept { return mChannelIOPairs; }
    int GetInputCount() const noexcept { return static_cast<int>(mInputChannels.size()); }
    int GetOutputCount() const noexcept { return static_cast<int>(mOutputChannels.size()); }
    const IInputChannel& GetInputChannel(int i) const noexcept { return mInputChannels[static_cast<std::size_t>(i)]; }
    const IOutputChannel& GetOutputChannel(int i) const noexcept { return mOutputChannels[static_cast<std::size_t>(i)]; }
    /// [audio] What the effect reads and writes: one array per channel,
    /// nullptr when the plug-in has no inputs (outputs).
    double** GetInputData() noexcept { return mInputData.empty() ? nullptr : mInputData.data(); }
    double** GetOutputData() noexcept { return mOutputData.empty() ? nullptr : mOutputData.data(); }

    /// [ui] Bus names, filled by the binding.
    void AddInputBusName(const char* name) { mInputBusNames.emplace_back(name); }
    void AddOutputBusName(const char* name) { mOutputBusNames.emplace_back(name); }
    const std::vector<std::string>& GetInputBusNames() const noexcept { return mInputBusNames; }
    const std::vector<std::string>& GetOutputBusNames() const noexcept { return mOutputBusNames; }

protected:
    ~ChannelBinder() = default;

    /// [ui, not while processing] Sizes every channel's scratch array to
    /// `frames` doubles (zeroed) when the block size changes.
    void ResizeScratch(int frames);
    /// [audio] Copies input i to output i where there is one and silences
    /// the rest; `inputs` and `outputs` may be the same arrays.
    void CopyOrSilence(double* const* inputs, double* const* outputs, int frames) const noexcept;

private:
    void ParseChannelIO(const char* text);
    /// [audio] Connects the first `channels` inputs (clamped to the input
    /// count), disconnects the rest and clears the scratch they read;
    /// returns how many are connected.
    int ConnectHostInputs(int channels) noexcept;
    /// [audio] Connects the first `channels` outputs (clamped to the output
    /// count) when `active`, disconnects the rest; returns how many bind.
    int ConnectHostOutputs(int channels, bool active) noexcept;

    std::vector<IChannelIOPair> mChannelIOPairs;
    int mBlockSize = 0;
    std::vector<double*> mInputData;
    std::vector<double*> mOutputData;
    std::vector<IInputChannel> mInputChannels;
    std::vector<IOutputChannel> mOutputChannels;
    std::vector<std::string> mInputBusNames;
    std::vector<std::string> mOutputBusNames;
    BypassFade mBypassFade;
    /// Host array pointers advanced into the current part of a block; sized
    /// at construction so that binding never allocates.
    std::vector<const float*> mInParts32;
    std::vector<float*> mParts32;
    std::vector<double*> mParts64;
};
