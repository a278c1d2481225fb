// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/sdk/SingleComponentEffect.h"

namespace Steinberg {
namespace Vst {

SingleComponentEffect::SingleComponentEffect()
    : audioInputs(kAudio, kInput), audioOutputs(kAudio, kOutput)
{
    // Until the host sets processing up, assume a common default.
    processSetup.processMode = kRealtime;
    processSetup.symbolicSampleSize = kSample32;
    processSetup.maxSamplesPerBlock = 1024;
    processSetup.sampleRate = 44100.0;
}

SingleComponentEffect::~SingleComponentEffect() = default;

tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context)
{
    return EditControllerEx1::initialize(context);
}

tresult PLUGIN_API SingleComponentEffect::terminate()
{
    audioInputs.clear();
    audioOutputs.clear();
    return EditControllerEx1::terminate();
}

int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir)
{
    if (type != kAudio)
        return 0;
    return static_cast<int32>(audioBusses(dir).size());
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir,
                                                     int32 index, BusInfo& info)
{
    if (type != kAudio || index < 0)
        return kInvalidArgument;
    BusList& list = audioBusses(dir);
    if (index >= static_cast<int32>(list.size()))
        return kInvalidArgument;
    info.mediaType = type;
    info.direction = dir;
    return list[index]->getInfo(info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir,
                                                      int32 index, TBool state)
{
    if (type != kAudio || index < 0)
        return kInvalidArgument;
    BusList& list = audioBusses(dir);
    if (index >= static_cast<int32>(list.size()))
        return kInvalidArgument;
    list[index]->setActive(state);
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index,
                                                            SpeakerArrangement& arr)
{
    BusList& list = audioBusses(dir);
    if (index < 0 || index >= static_cast<int32>(list.size()))
        return kResultFalse;
    arr = static_cast<AudioBus*>(list[index].get())->getArrangement();
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize(int32 size)
{
    return size == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::setupProcessing(ProcessSetup& setup)
{
    processSetup = setup;
    return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::queryInterface(const TUID iid, void** obj)
{
    QUERY_INTERFACE(iid, obj, IComponent::iid, IComponent)
    QUERY_INTERFACE(iid, obj, IAudioProcessor::iid, IAudioProcessor)
    return EditControllerEx1::queryInterface(iid, obj);
}

AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arr,
                                               BusType type, int32 flags)
{
    auto* bus = new AudioBus(name, type, flags, arr);
    bus->setActive((flags & BusInfo::kDefaultActive) != 0);
    audioInputs.push_back(IPtr<Bus>(bus, false));
    return bus;
}

AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr,
                                                BusType type, int32 flags)
{
    auto* bus = new AudioBus(name, type, flags, arr);
    bus->setActive((flags & BusInfo::kDefaultActive) != 0);
    audioOutputs.push_back(IPtr<Bus>(bus, false));
    return bus;
}

void SingleComponentEffect::removeAudioBusses(BusDirection dir)
{
    audioBusses(dir).clear();
}

} // namespace Vst
} // namespace Steinberg
