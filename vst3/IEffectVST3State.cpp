// SPDX-License-Identifier: GPL-3.0-or-later
// The saved state of the binding: the same bytes through the component's and
// the controller's state calls and setComponentState.
//
// The host's stream (which may be slow, or a file) is read and written
// outside the plug-in lock; the base's state pair takes it only to copy the
// values.
#include "vst3/IEffectVST3.h"

#include "pluginterfaces/base/ibstream.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult IEffectVST3::WriteState(IBStream* stream)
{
    const auto bytes = MakeStateBuffer();
    const int32 size = StateChunkBytes();
    if (stream == nullptr || bytes == nullptr || !WriteStateChunk(bytes.get(), static_cast<size_t>(size)))
        return kResultFalse;
    int32 written = 0;
    if (stream->write(bytes.get(), size, &written) != kResultOk || written != size)
        return kResultFalse;
    return kResultOk;
}

tresult IEffectVST3::ReadState(IBStream* stream)
{
    const auto bytes = MakeStateBuffer();
    if (stream == nullptr || bytes == nullptr)
        return kResultFalse;
    // A read may legally return fewer bytes than asked: read on until the
    // chunk is whole or the stream ends.
    const int32 size = StateChunkBytes();
    int32 got = 0;
    while (got < size) {
        int32 read = 0;
        if (stream->read(bytes.get() + got, size - got, &read) != kResultOk || read <= 0 || read > size - got)
            break;
        got += read;
    }
    // Projects saved with the values alone still open, but only a whole
    // state is success; a chunk cut short changes nothing.
    const StateRead taken = ReadStateChunk(bytes.get(), static_cast<size_t>(got));
    if (taken != StateRead::kRefused)
        ShowProcessorValues();
    if (taken == StateRead::kWhole)
        mBypassShown = IsBypassed() ? 1.0 : 0.0;
    return taken == StateRead::kWhole ? kResultOk : kResultFalse;
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
