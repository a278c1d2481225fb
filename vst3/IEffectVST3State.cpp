// SPDX-License-Identifier: GPL-3.0-or-later
// The saved state of the binding: the same bytes through the component's and
// the controller's state calls and setComponentState.
//
// The audio thread waits for the plug-in lock, so the lock is held only to
// copy values in or out of memory the call made ready beforehand: the host's
// stream (which may be slow, or a file) is read before and written after,
// and nothing is allocated while the lock is held.
#include "vst3/IEffectVST3.h"

#include "pluginterfaces/base/ibstream.h"

#include <cstring>
#include <mutex>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// Bytes of the bypass flag behind the parameter values.
constexpr int32 kBypassFlagBytes = 4;

void PutLittleEndian32(int32 value, uint8 (&bytes)[kBypassFlagBytes])
{
    for (int i = 0; i < kBypassFlagBytes; ++i)
        bytes[i] = static_cast<uint8>(static_cast<uint32>(value) >> (8 * i));
}

int32 GetLittleEndian32(const uint8 (&bytes)[kBypassFlagBytes])
{
    uint32 value = 0;
    for (int i = 0; i < kBypassFlagBytes; ++i)
        value |= static_cast<uint32>(bytes[i]) << (8 * i);
    return static_cast<int32>(value);
}

/// An empty chunk with room for `bytes` bytes, so that saving into it
/// under the lock does not allocate.
bool MakeRoom(IStateChunk& chunk, int bytes)
{
    return chunk.ResizeBuffer(bytes, false) && chunk.ResizeBuffer(0, false);
}

} // namespace

int IEffectVST3::SavedValueBytes() const noexcept
{
    return GetParamCount() * static_cast<int>(sizeof(double));
}

tresult IEffectVST3::WriteState(IBStream* stream)
{
    if (stream == nullptr)
        return kResultFalse;
    IStateChunk chunk(IStateChunk::kDefaultGranularity);
    if (!MakeRoom(chunk, SavedValueBytes()))
        return kResultFalse;
    uint8 flag[kBypassFlagBytes];
    {
        std::lock_guard<std::recursive_mutex> hold(GetLock());
        if (!SaveState(chunk))
            return kResultFalse;
        PutLittleEndian32(IsBypassed() ? 1 : 0, flag);
    }
    int32 written = 0;
    if (chunk.Size() > 0 && (stream->write(chunk.Data(), chunk.Size(), &written) != kResultOk ||
                             written != chunk.Size()))
        return kResultFalse;
    if (stream->write(flag, kBypassFlagBytes, &written) != kResultOk || written != kBypassFlagBytes)
        return kResultFalse;
    return kResultOk;
}

tresult IEffectVST3::ReadState(IBStream* stream)
{
    const int32 size = SavedValueBytes();
    if (stream == nullptr || size <= 0)
        return kResultFalse;
    std::vector<uint8> values(static_cast<size_t>(size));
    int32 got = 0;
    if (stream->read(values.data(), size, &got) != kResultOk || got < 0 || got > size)
        got = 0;
    uint8 flag[kBypassFlagBytes] = {};
    int32 flagBytes = 0;
    const bool hasFlag = got == size && stream->read(flag, kBypassFlagBytes, &flagBytes) == kResultOk &&
                         flagBytes == kBypassFlagBytes;
    IStateChunk chunk(IStateChunk::kDefaultGranularity);
    if (!MakeRoom(chunk, size))
        return kResultFalse;

    std::lock_guard<std::recursive_mutex> hold(GetLock());
    // The chunk starts out holding the current values, so values the stream
    // does not supply stay as they are; a value cut off by the end of the
    // stream would mix new and old bytes into a meaningless number, so it
    // keeps its old bytes too.
    if (!SaveState(chunk) || chunk.Size() != size)
        return kResultFalse;
    const int32 whole = got - got % static_cast<int32>(sizeof(double));
    std::memcpy(chunk.Data(), values.data(), static_cast<size_t>(whole));
    LoadState(chunk, 0);
    if (hasFlag)
        SetHostBypass(GetLittleEndian32(flag) != 0);
    RefreshEditorControls();
    return hasFlag ? kResultOk : kResultFalse;
}

tresult IEffectVST3::getControllerState(IBStream* stream)
{
    TellHostOfProgramChange();
    return WriteState(stream);
}

tresult IEffectVST3::setControllerState(IBStream* stream)
{
    TellHostOfProgramChange();
    return ReadState(stream);
}

// The processor and the controller are one object with one state.
tresult IEffectVST3::getProcessorState(IBStream* stream)
{
    return getControllerState(stream);
}

tresult IEffectVST3::setProcessorState(IBStream* stream)
{
    return setControllerState(stream);
}

tresult PLUGIN_API IEffectVST3::setComponentState(IBStream* stream)
{
    return setControllerState(stream);
}
