// SPDX-License-Identifier: GPL-3.0-or-later
// Component and processor side of the binding: initialisation, buses,
// processing set-up and the process call.
#include "vst3/IEffectVST3.h"

#include "graphics/HostIdentification.h"
#include "vst3/IEffectParameter.h"
#include "vst3/IPresetParameter.h"
#include "vst3/WideText.h"
#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <mutex>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

int ChannelCount(SpeakerArrangement arrangement) noexcept
{
    return static_cast<int>(__builtin_popcountll(static_cast<unsigned long long>(arrangement)));
}

int FirstBusChannels(BusList& list)
{
    if (list.empty())
        return 0;
    return ChannelCount(static_cast<AudioBus*>(list[0].get())->getArrangement());
}

} // namespace

IEffectVST3::IEffectVST3(int paramCount, const char* channelIOText, int presetCount,
                         const char* effectName, const char* productName, const char* makerName,
                         std::int32_t version, std::int32_t uniqueId, std::int32_t makerId,
                         int latency, bool doesMidi, bool isInstrument)
    : IEffectBase(paramCount, channelIOText, presetCount, effectName, productName, makerName,
                  version, uniqueId, makerId, latency, doesMidi, isInstrument),
      mSeenProcessorValues(static_cast<size_t>(paramCount), -1.0)
{
    SetInputsConnected(0, GetInputCount(), true);
    SetOutputsConnected(0, GetOutputCount(), true);
    AddInputBusName("Main Input");
    AddOutputBusName("Output");
    // Hosts may process before (or without) announcing a block size; the
    // scratch arrays then match the SDK's default set-up of 1024 frames.
    SetMaxBlockSize(processSetup.maxSamplesPerBlock);
}

IEffectVST3::~IEffectVST3() = default;

SpeakerArrangement IEffectVST3::ArrangementFor(int channels) noexcept
{
    switch (channels) {
    case 1: return SpeakerArr::kMono;
    case 2: return SpeakerArr::kStereo;
    case 3: return 0x103;
    case 4: return 0x33;
    case 5: return 0x37;
    case 6: return 0x3F;
    default: return SpeakerArr::kEmpty;
    }
}

tresult PLUGIN_API IEffectVST3::initialize(FUnknown* context)
{
    std::lock_guard<std::recursive_mutex> hold(GetLock());
    tresult result = SingleComponentEffect::initialize(context);
    if (mPublished)
        result = kResultFalse;

    int host = kHostNotYetKnown;
    FUnknownPtr<IHostApplication> app(context);
    if (app) {
        String128 name16 = {};
        char name[kHostNameSize] = {};
        // TChar is wchar_t on Windows, char16_t elsewhere: UTF-16 units on both.
        if (app->getName(name16) == kResultOk)
            NarrowHostName(reinterpret_cast<const char16_t*>(name16), name);
        host = static_cast<int>(ClassifyHostName(name));
    }

    if (result == kResultOk) {
        String128 busName;
        const SpeakerArrangement in = ArrangementFor(GetInputCount());
        if (in != SpeakerArr::kEmpty) {
            WidenText(GetInputBusNames()[0].c_str(), busName);
            addAudioInput(busName, in, kMain, BusInfo::kDefaultActive);
        }
        WidenText(GetOutputBusNames()[0].c_str(), busName);
        addAudioOutput(busName, ArrangementFor(GetOutputCount()), kMain, BusInfo::kDefaultActive);
        PublishParameters();
        mPublished = true;
    }

    StartUp(host);
    ShowProcessorValues();
    return result;
}

tresult PLUGIN_API IEffectVST3::terminate()
{
    // Buses and parameters go away here; a host that still has a process
    // call running must not see them disappear under it.
    std::lock_guard<std::recursive_mutex> hold(GetLock());
    mPublished = false;
    return SingleComponentEffect::terminate();
}

void IEffectVST3::PublishParameters()
{
    if (GetPresetCount() > 0) {
        parameters.addParameter(new IPresetParameter(*this, kPresetParamId));
    }
    if (!IsInstrument()) {
        auto* bypass = new StringListParameter(STR16("Bypass"), kBypassParamId, nullptr,
                                               ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass,
                                               kRootUnitId);
        bypass->appendString(STR16("off"));
        bypass->appendString(STR16("on"));
        parameters.addParameter(bypass);
    }
    std::vector<const char*>& groups = GetGroupNames();
    for (int i = 0; i < GetParamCount(); ++i) {
        const char* group = GetParam(i)->Group();
        UnitID unit = kRootUnitId;
        if (group[0] != '\0') {
            auto found = std::find_if(groups.begin(), groups.end(),
                                      [group](const char* g) { return std::strcmp(g, group) == 0; });
            if (found == groups.end()) {
                groups.push_back(group);
                unit = static_cast<UnitID>(groups.size());
            } else {
                unit = static_cast<UnitID>(found - groups.begin()) + 1;
            }
        }
        parameters.addParameter(new IEffectParameter(*GetParam(i), i, unit));
    }
}

tresult PLUGIN_API IEffectVST3::setActive(TBool state)
{
    TellHostOfProgramChange();
    // Each activation starts clean, so a bounce repeats exactly.
    if (state != 0)
        RestartSignal();
    OnActivate(state != 0);
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                   SpeakerArrangement* outputs, int32 numOuts)
{
    std::lock_guard<std::recursive_mutex> hold(GetLock());
    SetInputsConnected(0, GetInputCount(), false);
    SetOutputsConnected(0, GetOutputCount(), false);
    // The arrangement lists are read only where they exist: before initialize
    // there are no buses to compare with, and an empty list names no layout.
    if (numIns < 1 || numOuts < 1 || inputs == nullptr || outputs == nullptr)
        return kResultFalse;
    if (audioInputs.empty() || audioOutputs.empty())
        return kResultFalse;
    const int in = ChannelCount(inputs[0]);
    const int out = ChannelCount(outputs[0]);
    if (!LegalIO(in, out))
        return kResultFalse;
    if (FirstBusChannels(audioInputs) != in) {
        removeAudioBusses(kInput);
        addAudioInput(STR16("Input"), ArrangementFor(in), kMain, BusInfo::kDefaultActive);
    }
    if (FirstBusChannels(audioOutputs) != out) {
        removeAudioBusses(kOutput);
        addAudioOutput(STR16("Output"), ArrangementFor(out), kMain, BusInfo::kDefaultActive);
    }
    return numIns != 1 ? kResultFalse : kResultOk;
}

tresult PLUGIN_API IEffectVST3::canProcessSampleSize(int32 size)
{
    return size == kSample32 || size == kSample64 ? kResultOk : kResultFalse;
}

tresult PLUGIN_API IEffectVST3::setupProcessing(ProcessSetup& setup)
{
    if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64)
        return kResultFalse;
    // The host's bypass stays as it was: a host re-running its set-up (a
    // new rate or block size, an offline bounce) still shows it bypassed.
    if (!PrepareProcessing(setup.sampleRate, setup.maxSamplesPerBlock))
        return kResultFalse;
    processSetup = setup;
    return kResultOk;
}

uint32 PLUGIN_API IEffectVST3::getLatencySamples()
{
    return static_cast<uint32>(GetLatency());
}

uint32 PLUGIN_API IEffectVST3::getTailSamples()
{
    return static_cast<uint32>(TailSamples());
}

void IEffectVST3::SetHostBypass(bool bypassed) noexcept
{
    SetBypassed(bypassed);
    mBypassShown = bypassed ? 1.0 : 0.0;
}

void IEffectVST3::ApplyPoint(ParamID id, ParamValue value) noexcept
{
    if (id == kBypassParamId) {
        if (!std::isnan(value))
            SetHostBypass(value > 0.5);
    } else if (id == kPresetParamId) {
        // A value that names no preset changes nothing; the preset applies
        // as one set at the next part, and the host hears of it then.
        QueueProgramChange(IPresetParameter::PresetFor(value, GetPresetCount()));
    } else if (id < static_cast<ParamID>(GetParamCount())) {
        const int index = static_cast<int>(id);
        SetParamFromHost(index, GetParam(index)->NormalizedToPlain(std::clamp(value, 0.0, 1.0)));
    }
}

void IEffectVST3::ApplyParameterChanges(IParameterChanges* changes, int32 after, int32 upTo) noexcept
{
    const int32 queues = changes != nullptr ? changes->getParameterCount() : 0;
    for (int32 q = 0; q < queues; ++q) {
        IParamValueQueue* queue = changes->getParameterData(q);
        if (queue == nullptr)
            continue;
        // Of the points due in (after, upTo], the last one holds.
        bool due = false;
        ParamValue last = 0.0;
        for (int32 p = 0; p < queue->getPointCount(); ++p) {
            int32 offset = 0;
            ParamValue value = 0.0;
            if (queue->getPoint(p, offset, value) != kResultOk)
                continue;
            offset = std::max(offset, 0);
            if (offset > after && offset <= upTo) {
                due = true;
                last = value;
            }
        }
        if (due)
            ApplyPoint(queue->getParameterId(), last);
    }
}

int32 IEffectVST3::NextPointAfter(IParameterChanges* changes, int32 after, int32 end) noexcept
{
    int32 next = end;
    const int32 queues = changes != nullptr ? changes->getParameterCount() : 0;
    for (int32 q = 0; q < queues; ++q) {
        IParamValueQueue* queue = changes->getParameterData(q);
        for (int32 p = 0; queue != nullptr && p < queue->getPointCount(); ++p) {
            int32 offset = 0;
            ParamValue value = 0.0;
            if (queue->getPoint(p, offset, value) == kResultOk && offset > after && offset < next)
                next = offset;
        }
    }
    return next;
}

template <typename Sample, typename Arrays>
IEffectBase::HostBuses<Sample> IEffectVST3::MainBuses(const ProcessData& data, Arrays AudioBusBuffers::*arrays) noexcept
{
    HostBuses<Sample> buses;
    if (data.inputs != nullptr && data.numInputs > 0) {
        buses.inputs = data.inputs[0].*arrays;
        buses.inputChannels = static_cast<int>(data.inputs[0].numChannels);
    }
    // Only the published output bus is bound; a host that has switched it
    // off gets nothing written.
    if (data.outputs != nullptr && data.numOutputs > 0 && !audioOutputs.empty()) {
        buses.outputs = data.outputs[0].*arrays;
        buses.outputChannels = static_cast<int>(data.outputs[0].numChannels);
        buses.outputActive = audioOutputs[0]->isActive();
    }
    return buses;
}

tresult PLUGIN_API IEffectVST3::process(ProcessData& data) noexcept
{
    // No lock: parameter values are atomics, and the user-interface side
    // must never be able to make this call wait.
    if (data.processContext != nullptr)
        mContext = *data.processContext;

    // The arrays are of the size this call declares, whatever the set-up
    // said: reading them as the other size would run past their ends. An
    // unknown size names no array type, so no audio can be touched.
    IParameterChanges* changes = data.inputParameterChanges;
    constexpr int32 kBefore = -1;
    constexpr int32 kEver = INT32_MAX;
    if (data.symbolicSampleSize != kSample32 && data.symbolicSampleSize != kSample64) {
        ApplyParameterChanges(changes, kBefore, kEver);
        return kResultOk;
    }
    const bool use64 = data.symbolicSampleSize == kSample64;
    const int total = std::max(0, static_cast<int>(data.numSamples));
    // Before initialize (no buses yet), or with a block size below 1 (only
    // reachable through a direct SetMaxBlockSize), no audio can be made:
    // the host gets silence, never whatever it left in its arrays.
    const int32 served = GetBlockSize() < 1 || audioOutputs.empty() ? 0 : data.numOutputs;
    for (int32 k = served; data.outputs != nullptr && k < data.numOutputs && total > 0; ++k) {
        if (use64)
            SilenceHostArrays(data.outputs[k].channelBuffers64, data.outputs[k].numChannels, total);
        else
            SilenceHostArrays(data.outputs[k].channelBuffers32, data.outputs[k].numChannels, total);
    }
    // Every point applies from its own sample on, as CLAP's events do: the
    // parts end where the next point is due.
    int32 applied = kBefore;
    const auto nextChange = [&](int done) { return static_cast<int>(NextPointAfter(changes, done, total)); };
    const auto applyChangesAt = [&](int at) {
        ApplyParameterChanges(changes, applied, at);
        applied = at;
    };
    bool silent = served > 0;
    if (use64) {
        const HostBuses<double> buses = MainBuses<double>(data, &AudioBusBuffers::channelBuffers64);
        ProcessHostBlock(total, nextChange, applyChangesAt, [&](int offset, int frames) {
            silent = ProcessHostPart(buses, offset, frames) && silent;
        });
    } else {
        const HostBuses<const float> buses = MainBuses<const float>(data, &AudioBusBuffers::channelBuffers32);
        ProcessHostBlock(total, nextChange, applyChangesAt, [&](int offset, int frames) {
            silent = ProcessHostPart(buses, offset, frames) && silent;
        });
    }
    // Points the host placed at or past the block's end still count.
    ApplyParameterChanges(changes, applied, kEver);
    // One bit per channel of the bus the effect wrote: the published one.
    for (int32 k = 0; data.outputs != nullptr && k < std::min<int32>(served, 1); ++k) {
        const int channels = std::min(64, std::max(0, static_cast<int>(data.outputs[k].numChannels)));
        data.outputs[k].silenceFlags = silent && channels > 0 ? ~uint64(0) >> (64 - channels) : 0;
    }
    return kResultOk;
}
