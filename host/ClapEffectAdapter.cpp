// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/ClapEffectAdapter.h"

#include "effect/KeldraIdentity.h"

#include "host/ClapParameter.h"
#include "host/ClapPlugView.h"
#ifndef _WIN32
#include "host/ClapHostLoop.h"
#endif
#include "host/ClapStreams.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <cstring>
#include <type_traits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void CLAP_ABI Ignore(const clap_host_t*) {}
void CLAP_ABI IgnoreRescan(const clap_host_t*, uint32_t) {}
void CLAP_ABI IgnoreClear(const clap_host_t*, clap_id, uint32_t) {}

template <typename Extension>
const Extension* FindExtension(const clap_plugin_t* plugin, const char* id)
{
    return static_cast<const Extension*>(plugin->get_extension(plugin, id));
}

/// The CLAP buffer over one VST3 bus in the call's sample size.
template <typename Sample>
clap_audio_buffer_t BufferOf(const AudioBusBuffers& bus)
{
    clap_audio_buffer_t buffer{};
    if constexpr (std::is_same_v<Sample, float>)
        buffer.data32 = bus.channelBuffers32;
    else
        buffer.data64 = bus.channelBuffers64;
    buffer.channel_count = static_cast<uint32_t>(bus.numChannels);
    return buffer;
}

} // namespace

ClapEffectAdapter::ClapEffectAdapter(const clap_plugin_factory_t& factory, std::string pluginId)
    : mFactory(factory),
      mPluginId(std::move(pluginId)),
      mOutEvents([this](const clap_event_header_t& header) { OnPluginEvent(header); })
{
}

ClapEffectAdapter::~ClapEffectAdapter()
{
    terminate();
}

ClapEffectAdapter& ClapEffectAdapter::From(const clap_host_t* host)
{
    return *static_cast<ClapEffectAdapter*>(host->host_data);
}

const void* CLAP_ABI ClapEffectAdapter::HostExtension(const clap_host_t*, const char* id)
{
    static const clap_host_params_t params = {
        IgnoreRescan, IgnoreClear,
        [](const clap_host_t* host) {
            // This host runs flush at once, between process calls (CLAP
            // never runs the two side by side).
            ClapEffectAdapter& adapter = From(host);
            if (adapter.mParams != nullptr) {
                std::lock_guard<std::mutex> between(adapter.mCallLock);
                adapter.mInEvents.Clear();
                adapter.mParams->flush(adapter.mPlugin, adapter.mInEvents.List(), adapter.mOutEvents.List());
            }
        }};
    static const clap_host_state_t state = {Ignore};
    static const clap_host_gui_t gui = {
        Ignore,
        [](const clap_host_t* host, uint32_t width, uint32_t height) {
            ClapPlugView* view = From(host).mView;
            return view != nullptr && view->RequestResize(width, height);
        },
        [](const clap_host_t*) { return false; }, [](const clap_host_t*) { return false; },
        [](const clap_host_t*, bool) {}};
#ifndef _WIN32
    static const clap_host_timer_support_t timers = {
        [](const clap_host_t* host, uint32_t periodMs, clap_id* timerId) {
            ClapHostLoop* loop = From(host).mView != nullptr ? From(host).mView->Loop() : nullptr;
            return loop != nullptr && timerId != nullptr && loop->RegisterTimer(periodMs, *timerId);
        },
        [](const clap_host_t* host, clap_id timerId) {
            ClapHostLoop* loop = From(host).mView != nullptr ? From(host).mView->Loop() : nullptr;
            return loop != nullptr && loop->UnregisterTimer(timerId);
        }};
    static const clap_host_posix_fd_support_t fds = {
        [](const clap_host_t* host, int fd, clap_posix_fd_flags_t) {
            ClapHostLoop* loop = From(host).mView != nullptr ? From(host).mView->Loop() : nullptr;
            return loop != nullptr && loop->RegisterFd(fd);
        },
        [](const clap_host_t*, int, clap_posix_fd_flags_t) { return false; },
        [](const clap_host_t* host, int fd) {
            ClapHostLoop* loop = From(host).mView != nullptr ? From(host).mView->Loop() : nullptr;
            return loop != nullptr && loop->UnregisterFd(fd);
        }};
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0)
        return &timers;
    if (std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0)
        return &fds;
#endif
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0)
        return &params;
    if (std::strcmp(id, CLAP_EXT_STATE) == 0)
        return &state;
    if (std::strcmp(id, CLAP_EXT_GUI) == 0)
        return &gui;
    return nullptr;
}

tresult PLUGIN_API ClapEffectAdapter::initialize(FUnknown* context)
{
    if (mPlugin != nullptr)
        return kResultFalse;
    tresult result = SingleComponentEffect::initialize(context);
    if (result != kResultOk)
        return result;
    FUnknownPtr<IHostApplication> app(context);
    String128 name16 = {};
    if (app && app->getName(name16) == kResultOk) {
        mHostName.clear();
        for (const TChar* c = name16; *c != 0; ++c)
            mHostName += *c < 0x80 ? static_cast<char>(*c) : '?';
    }
    mHost = clap_host_t{kClapVersion, this, mHostName.c_str(), KeldraIdentity::kMaker, "", KeldraIdentity::kVersionText,
                        HostExtension, Ignore, Ignore, Ignore};
    mPlugin = mFactory.create_plugin(&mFactory, &mHost, mPluginId.c_str());
    if (mPlugin == nullptr)
        return kResultFalse;
    if (!mPlugin->init(mPlugin)) {
        mPlugin->destroy(mPlugin);
        mPlugin = nullptr;
        return kResultFalse;
    }
    mParams = FindExtension<clap_plugin_params_t>(mPlugin, CLAP_EXT_PARAMS);
    mState = FindExtension<clap_plugin_state_t>(mPlugin, CLAP_EXT_STATE);
    mLatency = FindExtension<clap_plugin_latency_t>(mPlugin, CLAP_EXT_LATENCY);
    for (uint32_t i = 0; mParams != nullptr && i < mParams->count(mPlugin); ++i) {
        clap_param_info_t info{};
        if (mParams->get_info(mPlugin, i, &info))
            parameters.addParameter(new ClapParameter(info, *mPlugin, *mParams));
    }
    // 64-bit samples only when every port takes them.
    const auto* ports = FindExtension<clap_plugin_audio_ports_t>(mPlugin, CLAP_EXT_AUDIO_PORTS);
    mSupports64 = ports != nullptr;
    for (bool isInput : {true, false})
        for (uint32_t i = 0; ports != nullptr && i < ports->count(mPlugin, isInput); ++i) {
            clap_audio_port_info_t info{};
            mSupports64 = mSupports64 && ports->get(mPlugin, i, isInput, &info) &&
                          (info.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS) != 0;
        }
    addAudioInput(STR16("Input"), SpeakerArr::kStereo);
    addAudioOutput(STR16("Output"), SpeakerArr::kStereo);
    return kResultOk;
}

tresult PLUGIN_API ClapEffectAdapter::terminate()
{
    if (mPlugin != nullptr) {
        setActive(false);
        mPlugin->destroy(mPlugin);
        mPlugin = nullptr;
    }
    mParams = nullptr;
    mState = nullptr;
    mLatency = nullptr;
    removeAudioBusses(kInput);
    removeAudioBusses(kOutput);
    return SingleComponentEffect::terminate();
}

tresult PLUGIN_API ClapEffectAdapter::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                         SpeakerArrangement* outputs, int32 numOuts)
{
    const bool stereo = numIns == 1 && numOuts == 1 && inputs != nullptr && outputs != nullptr &&
                        inputs[0] == SpeakerArr::kStereo && outputs[0] == SpeakerArr::kStereo;
    return stereo ? kResultOk : kResultFalse;
}

tresult PLUGIN_API ClapEffectAdapter::canProcessSampleSize(int32 size)
{
    return size == kSample32 || (size == kSample64 && mSupports64) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API ClapEffectAdapter::setActive(TBool state)
{
    if (mPlugin == nullptr)
        return kResultFalse;
    if (state && !mActive) {
        const uint32_t maxFrames = static_cast<uint32_t>(processSetup.maxSamplesPerBlock);
        if (!mPlugin->activate(mPlugin, processSetup.sampleRate, 1, maxFrames))
            return kResultFalse;
        mActive = true;
    } else if (!state && mActive) {
        setProcessing(false);
        mPlugin->deactivate(mPlugin);
        mActive = false;
    }
    return kResultOk;
}

tresult PLUGIN_API ClapEffectAdapter::setProcessing(TBool state)
{
    if (!mActive)
        return kResultFalse;
    if (state && !mProcessing)
        mProcessing = mPlugin->start_processing(mPlugin);
    else if (!state && mProcessing) {
        mPlugin->stop_processing(mPlugin);
        mProcessing = false;
    }
    return kResultOk;
}

void ClapEffectAdapter::QueueChanges(IParameterChanges* changes)
{
    mInEvents.Clear();
    const int32 queues = changes != nullptr ? changes->getParameterCount() : 0;
    for (int32 q = 0; q < queues; ++q) {
        IParamValueQueue* queue = changes->getParameterData(q);
        Parameter* parameter = queue != nullptr ? getParameterObject(queue->getParameterId()) : nullptr;
        for (int32 p = 0; parameter != nullptr && p < queue->getPointCount(); ++p) {
            int32 offset = 0;
            ParamValue value = 0.0;
            if (queue->getPoint(p, offset, value) == kResultOk)
                mInEvents.AddValue(queue->getParameterId(), static_cast<uint32_t>(offset), parameter->toPlain(value));
        }
    }
    mInEvents.Sort();
}

tresult PLUGIN_API ClapEffectAdapter::process(ProcessData& data)
{
    if (!mActive)
        return kResultFalse;
    if (!mProcessing)
        setProcessing(true);
    std::lock_guard<std::mutex> between(mCallLock);
    QueueChanges(data.inputParameterChanges);
    const bool use64 = data.symbolicSampleSize == kSample64;
    clap_audio_buffer_t in{};
    clap_audio_buffer_t out{};
    if (data.numInputs > 0)
        in = use64 ? BufferOf<double>(data.inputs[0]) : BufferOf<float>(data.inputs[0]);
    if (data.numOutputs > 0)
        out = use64 ? BufferOf<double>(data.outputs[0]) : BufferOf<float>(data.outputs[0]);

    clap_event_transport_t transport{};
    transport.header = {sizeof transport, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_TRANSPORT, 0};
    if (const ProcessContext* context = data.processContext) {
        transport.flags = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_TIME_SIGNATURE |
                          CLAP_TRANSPORT_HAS_SECONDS_TIMELINE |
                          ((context->state & ProcessContext::kPlaying) != 0 ? CLAP_TRANSPORT_IS_PLAYING : 0u);
        transport.tempo = context->tempo;
        transport.tsig_num = static_cast<uint16_t>(context->timeSigNumerator);
        transport.tsig_denom = static_cast<uint16_t>(context->timeSigDenominator);
        if (context->sampleRate > 0.0)
            transport.song_pos_seconds = static_cast<clap_sectime>(
                static_cast<double>(context->projectTimeSamples) / context->sampleRate * CLAP_SECTIME_FACTOR);
    }

    clap_process_t process{};
    process.steady_time = -1;
    process.frames_count = static_cast<uint32_t>(data.numSamples);
    process.transport = data.processContext != nullptr ? &transport : nullptr;
    process.audio_inputs = &in;
    process.audio_inputs_count = data.numInputs > 0 ? 1 : 0;
    process.audio_outputs = &out;
    process.audio_outputs_count = data.numOutputs > 0 ? 1 : 0;
    process.in_events = mInEvents.List();
    process.out_events = mOutEvents.List();
    const clap_process_status status = mPlugin->process(mPlugin, &process);
    return status == CLAP_PROCESS_ERROR ? kResultFalse : kResultOk;
}

uint32 PLUGIN_API ClapEffectAdapter::getLatencySamples()
{
    return mLatency != nullptr ? mLatency->get(mPlugin) : 0;
}

tresult ClapEffectAdapter::getControllerState(IBStream* stream)
{
    if (stream == nullptr || mState == nullptr)
        return kResultFalse;
    ClapOutputStream out(*stream);
    return mState->save(mPlugin, &out) ? kResultOk : kResultFalse;
}

tresult ClapEffectAdapter::setControllerState(IBStream* stream)
{
    if (stream == nullptr || mState == nullptr)
        return kResultFalse;
    ClapInputStream in(*stream);
    return mState->load(mPlugin, &in) ? kResultOk : kResultFalse;
}

ParamValue PLUGIN_API ClapEffectAdapter::getParamNormalized(ParamID id)
{
    Parameter* parameter = getParameterObject(id);
    double plain = 0.0;
    if (parameter == nullptr || mParams == nullptr || !mParams->get_value(mPlugin, id, &plain))
        return 0.0;
    return parameter->toNormalized(plain);
}

tresult PLUGIN_API ClapEffectAdapter::setParamNormalized(ParamID id, ParamValue value)
{
    Parameter* parameter = getParameterObject(id);
    // The parameter objects also follow the plug-in's edits in process.
    std::lock_guard<std::mutex> between(mCallLock);
    if (parameter == nullptr || SingleComponentEffect::setParamNormalized(id, value) != kResultOk)
        return kResultFalse;
    if (mParams != nullptr) {
        mInEvents.Clear();
        mInEvents.AddValue(id, 0, parameter->toPlain(parameter->getNormalized()));
        mParams->flush(mPlugin, mInEvents.List(), mOutEvents.List());
    }
    return kResultOk;
}

void ClapEffectAdapter::OnPluginEvent(const clap_event_header_t& header)
{
    if (header.space_id != CLAP_CORE_EVENT_SPACE_ID || componentHandler == nullptr)
        return;
    if (header.type == CLAP_EVENT_PARAM_GESTURE_BEGIN) {
        componentHandler->beginEdit(reinterpret_cast<const clap_event_param_gesture_t&>(header).param_id);
    } else if (header.type == CLAP_EVENT_PARAM_GESTURE_END) {
        componentHandler->endEdit(reinterpret_cast<const clap_event_param_gesture_t&>(header).param_id);
    } else if (header.type == CLAP_EVENT_PARAM_VALUE) {
        const auto& event = reinterpret_cast<const clap_event_param_value_t&>(header);
        if (Parameter* parameter = getParameterObject(event.param_id)) {
            const ParamValue normalized = parameter->toNormalized(event.value);
            parameter->setNormalized(normalized);
            componentHandler->performEdit(event.param_id, normalized);
        }
    }
}

IPlugView* PLUGIN_API ClapEffectAdapter::createView(FIDString name)
{
    if (mPlugin == nullptr || name == nullptr || std::strcmp(name, "editor") != 0)
        return nullptr;
    const auto* gui = FindExtension<clap_plugin_gui_t>(mPlugin, CLAP_EXT_GUI);
    return gui != nullptr ? new ClapPlugView(*this, *gui) : nullptr;
}
