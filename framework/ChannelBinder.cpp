// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/ChannelBinder.h"

#include "framework/HostArray.h"
#include "framework/Trace.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Copies input i to output i where there is one and silences the rest.
// memmove: 64-bit host buffers may be the same array for input and output.
void CopyOrSilenceArrays(double* const* inputs, int inputCount, double* const* outputs, int outputCount,
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
void ResizeChannelScratch(Channel& channel, int frames)
{
    const double* old = channel.scratch.data();
    channel.scratch.assign(static_cast<std::size_t>(frames), 0.0);
    if (*channel.slot == old) {
        *channel.slot = channel.scratch.data();
    }
}

}  // namespace

ChannelBinder::ChannelBinder(const char* channelIOText)
{
    ParseChannelIO(channelIOText);
    const auto most = static_cast<std::size_t>(std::max(GetInputCount(), GetOutputCount()));
    mInParts32.assign(most, nullptr);
    mParts32.assign(most, nullptr);
    mParts64.assign(most, nullptr);
}

void ChannelBinder::ParseChannelIO(const char* text)
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

void ChannelBinder::ResizeScratch(int frames)
{
    frames = std::max(frames, 0);
    if (frames == mBlockSize) {
        return;
    }
    for (IInputChannel& channel : mInputChannels) {
        ResizeChannelScratch(channel, frames);
    }
    for (IOutputChannel& channel : mOutputChannels) {
        ResizeChannelScratch(channel, frames);
    }
    mBlockSize = frames;
}

bool ChannelBinder::LegalIO(int inputs, int outputs) const
{
    const bool legal = std::any_of(mChannelIOPairs.begin(), mChannelIOPairs.end(),
                                   [&](const IChannelIOPair& pair) {
                                       return (inputs < 0 || inputs == pair.inputs) &&
                                              (outputs < 0 || outputs == pair.outputs);
                                   });
    KELDRA_TRACE("IEffectBase::LegalIO", "%d:%d:%s", inputs, outputs, legal ? "legal" : "illegal");
    return legal;
}

void ChannelBinder::SetInputsConnected(int start, int count, bool connected) noexcept
{
    SetConnected(mInputChannels, start, count, connected);
}

void ChannelBinder::SetOutputsConnected(int start, int count, bool connected) noexcept
{
    SetConnected(mOutputChannels, start, count, connected);
}

void ChannelBinder::BindInputs32(int start, int count, const float* const* hostArrays, int frames) noexcept
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

void ChannelBinder::BindInputs64(int start, int count, double* const* hostArrays) noexcept
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

int ChannelBinder::ConnectHostInputs(int channels) noexcept
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

void ChannelBinder::BindHostInputs(const float* const* hostArrays, int channels, int offset, int frames) noexcept
{
    const int n = ConnectHostInputs(hostArrays != nullptr ? channels : 0);
    for (int c = 0; c < n; ++c) {
        mInParts32[static_cast<std::size_t>(c)] = AdvancedHostArray(hostArrays[c], offset);
    }
    BindInputs32(0, n, mInParts32.data(), frames);
}

void ChannelBinder::BindHostInputs(double* const* hostArrays, int channels, int offset, int /*frames*/) noexcept
{
    const int n = ConnectHostInputs(hostArrays != nullptr ? channels : 0);
    for (int c = 0; c < n; ++c) {
        mParts64[static_cast<std::size_t>(c)] = AdvancedHostArray(hostArrays[c], offset);
    }
    BindInputs64(0, n, mParts64.data());
}

int ChannelBinder::ConnectHostOutputs(int channels, bool active) noexcept
{
    const int total = GetOutputCount();
    const int n = std::min(std::max(channels, 0), total);
    SetOutputsConnected(0, n, active);
    SetOutputsConnected(n, total, false);
    return n;
}

void ChannelBinder::BindHostOutputs(float* const* hostArrays, int channels, bool active, int offset) noexcept
{
    const int n = ConnectHostOutputs(hostArrays != nullptr ? channels : 0, active);
    for (int c = 0; c < n; ++c) {
        mParts32[static_cast<std::size_t>(c)] = AdvancedHostArray(hostArrays[c], offset);
    }
    BindOutputs32(0, n, mParts32.data());
}

void ChannelBinder::BindHostOutputs(double* const* hostArrays, int channels, bool active, int offset) noexcept
{
    const int n = ConnectHostOutputs(hostArrays != nullptr ? channels : 0, active);
    for (int c = 0; c < n; ++c) {
        mParts64[static_cast<std::size_t>(c)] = AdvancedHostArray(hostArrays[c], offset);
    }
    BindOutputs64(0, n, mParts64.data());
}

void ChannelBinder::BindOutputs32(int start, int count, float* const* hostArrays) noexcept
{
    // A null host array gets no conversion: the channel's output is dropped.
    BindConnected(mOutputChannels, start, count, hostArrays, [](IOutputChannel& channel, float* destination) {
        *channel.slot = channel.scratch.data();
        channel.destination32 = destination;
    });
}

void ChannelBinder::BindOutputs64(int start, int count, double* const* hostArrays) noexcept
{
    BindConnected(mOutputChannels, start, count, hostArrays, [](IOutputChannel& channel, double* destination) {
        // The effect always has somewhere to write: a null host array is
        // replaced by the channel's scratch, whose contents are dropped.
        *channel.slot = destination ? destination : channel.scratch.data();
        // A later 32-bit conversion must not write into a stale host array.
        channel.destination32 = nullptr;
    });
}

void ChannelBinder::ConvertOutputs32(int frames) noexcept
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

void ChannelBinder::PassThrough(int frames) noexcept
{
    CopyOrSilence(mInputData.data(), mOutputData.data(), frames);
}

void ChannelBinder::ClearScratchBuffers() noexcept
{
    for (IInputChannel& channel : mInputChannels) {
        std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
    }
    for (IOutputChannel& channel : mOutputChannels) {
        std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
    }
}

void ChannelBinder::CopyOrSilence(double* const* inputs, double* const* outputs, int frames) const noexcept
{
    CopyOrSilenceArrays(inputs, GetInputCount(), outputs, GetOutputCount(), frames);
}

void ChannelBinder::CrossFadeOutputs(int frames) noexcept
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
