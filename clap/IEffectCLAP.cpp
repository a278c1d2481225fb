// SPDX-License-Identifier: GPL-3.0-or-later
// Lifecycle and the process call of the CLAP binding.
#include "clap/IEffectCLAP.h"

#include "clap/ClapPluginCalls.h"
#include "graphics/HostIdentification.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsCoreEvent(const clap_event_header_t* header, uint16_t type) noexcept
{
    return header != nullptr && header->space_id == CLAP_CORE_EVENT_SPACE_ID && header->type == type;
}

} // namespace

IEffectCLAP::IEffectCLAP(int paramCount, const char* channelIOText, int presetCount, const char* effectName,
                         const char* productName, const char* makerName, std::int32_t version,
                         std::int32_t uniqueId, std::int32_t makerId, int latency, bool doesMidi,
                         bool isInstrument)
    : IEffectBase(paramCount, channelIOText, presetCount, effectName, productName, makerName, version,
                  uniqueId, makerId, latency, doesMidi, isInstrument),
      mGui(std::make_unique<ClapEditorGui>(*this))
{
    SetInputsConnected(0, GetInputCount(), true);
    SetOutputsConnected(0, GetOutputCount(), true);
    AddInputBusName("Main Input");
    AddOutputBusName("Output");
    mPlugin = ClapPluginCalls::Table();
    mPlugin.plugin_data = this;
}

IEffectCLAP::~IEffectCLAP() = default;

void IEffectCLAP::Bind(const clap_host_t* host, const clap_plugin_descriptor_t* descriptor) noexcept
{
    mHost = host;
    mPlugin.desc = descriptor;
}

IEffectCLAP* IEffectCLAP::From(const clap_plugin_t* plugin) noexcept
{
    return plugin != nullptr ? static_cast<IEffectCLAP*>(plugin->plugin_data) : nullptr;
}

const void* IEffectCLAP::HostExtension(const char* id) const noexcept
{
    if (mHost == nullptr || mHost->get_extension == nullptr)
        return nullptr;
    return mHost->get_extension(mHost, id);
}

bool IEffectCLAP::Init() noexcept
{
    StartUp(mHost != nullptr ? static_cast<int>(ClassifyHostName(mHost->name)) : kHostNotYetKnown);
    return true;
}

bool IEffectCLAP::Activate(double sampleRate, uint32_t maxFrames) noexcept
{
    if (maxFrames > static_cast<uint32_t>(INT32_MAX))
        return false;
    return PrepareProcessing(sampleRate, maxFrames);
}

void IEffectCLAP::Reset() noexcept
{
    RestartSignal();
}

void IEffectCLAP::ApplyEvent(const clap_event_header_t& header) noexcept
{
    if (IsCoreEvent(&header, CLAP_EVENT_TRANSPORT)) {
        mTransport = reinterpret_cast<const clap_event_transport_t&>(header);
        mHasTransport = true;
        return;
    }
    if (!IsCoreEvent(&header, CLAP_EVENT_PARAM_VALUE))
        return;
    const auto& event = reinterpret_cast<const clap_event_param_value_t&>(header);
    if (event.param_id == kBypassParamId) {
        if (!std::isnan(event.value))
            SetBypassed(event.value > 0.5);
    } else if (event.param_id < static_cast<clap_id>(GetParamCount())) {
        SetParamFromHost(static_cast<int>(event.param_id), event.value);
    }
}

void IEffectCLAP::ApplyEvents(const clap_input_events_t* in) noexcept
{
    const uint32_t count = in != nullptr && in->size != nullptr ? in->size(in) : 0;
    for (uint32_t i = 0; i < count; ++i)
        if (const clap_event_header_t* header = in->get(in, i))
            ApplyEvent(*header);
}

template <typename Sample, typename Arrays>
IEffectBase::HostBuses<Sample> IEffectCLAP::MainBuses(const clap_process_t& process, Arrays clap_audio_buffer_t::*arrays) noexcept
{
    HostBuses<Sample> buses;
    if (process.audio_inputs != nullptr && process.audio_inputs_count > 0) {
        buses.inputs = process.audio_inputs[0].*arrays;
        buses.inputChannels = static_cast<int>(std::min<uint32_t>(process.audio_inputs[0].channel_count, INT32_MAX));
    }
    if (process.audio_outputs != nullptr && process.audio_outputs_count > 0) {
        buses.outputs = process.audio_outputs[0].*arrays;
        buses.outputChannels = static_cast<int>(std::min<uint32_t>(process.audio_outputs[0].channel_count, INT32_MAX));
    }
    return buses;
}

clap_process_status IEffectCLAP::Process(const clap_process_t& process) noexcept
{
    // No lock: parameter values are atomics and editor edits come through
    // a lock-free queue, so the main thread can never make this call wait.
    mEdits.DrainInto(process.out_events);
    if (process.transport != nullptr) {
        mTransport = *process.transport;
        mHasTransport = true;
    }

    // The host picks the sample size per port: 64-bit when it gives 64-bit
    // arrays for the main output (or, without one, the main input).
    const clap_audio_buffer_t* sizing = process.audio_outputs_count > 0 ? process.audio_outputs
                                        : process.audio_inputs_count > 0 ? process.audio_inputs
                                                                         : nullptr;
    const bool use64 = sizing != nullptr && sizing->data64 != nullptr && sizing->data32 == nullptr;
    const int total = static_cast<int>(std::min<uint32_t>(process.frames_count, INT32_MAX));
    const clap_input_events_t* in = process.in_events;
    const uint32_t eventCount = in != nullptr && in->size != nullptr ? in->size(in) : 0;
    uint32_t next = 0;
    int64_t due = total;

    // Every change applies from its own sample on: the parts end where the
    // next event is due. Once the effect sleeps the host may too, until
    // sound or events come.
    bool silent = GetBlockSize() > 0;
    ProcessHostBlock(
        total, [&](int) { return static_cast<int>(std::min<int64_t>(due, total)); },
        [&](int at) {
            due = total;
            for (; next < eventCount; ++next) {
                const clap_event_header_t* header = in->get(in, next);
                if (header == nullptr)
                    continue;
                if (static_cast<int64_t>(header->time) > at) {
                    due = header->time;
                    break;
                }
                ApplyEvent(*header);
            }
        },
        [&](int offset, int frames) {
            const bool partSilent =
                use64 ? ProcessHostPart(MainBuses<double>(process, &clap_audio_buffer_t::data64), offset, frames)
                      : ProcessHostPart(MainBuses<const float>(process, &clap_audio_buffer_t::data32), offset, frames);
            silent = silent && partSilent;
        });
    // Not activated: no room for audio, and the host gets silence, never
    // whatever it left in its arrays.
    for (uint32_t k = 0; GetBlockSize() < 1 && process.audio_outputs != nullptr && k < process.audio_outputs_count; ++k) {
        const clap_audio_buffer_t& port = process.audio_outputs[k];
        const int channels = static_cast<int>(std::min<uint32_t>(port.channel_count, INT32_MAX));
        SilenceHostArrays(port.data32, channels, total);
        SilenceHostArrays(port.data64, channels, total);
    }
    // Events the host placed at or past the block's end still count.
    for (; next < eventCount; ++next)
        if (const clap_event_header_t* header = in->get(in, next))
            ApplyEvent(*header);
    return silent ? CLAP_PROCESS_SLEEP : CLAP_PROCESS_CONTINUE;
}

void IEffectCLAP::Flush(const clap_input_events_t* in, const clap_output_events_t* out) noexcept
{
    ApplyEvents(in);
    mEdits.DrainInto(out);
}

void IEffectCLAP::QueueEdit(uint16_t type, int paramIdx, double plainValue) noexcept
{
    if (paramIdx < 0 || paramIdx >= GetParamCount())
        return;
    mEdits.Push(type, static_cast<clap_id>(paramIdx), plainValue);
    // The host collects the edits through flush when it is not processing.
    if (const auto* params = static_cast<const clap_host_params_t*>(HostExtension(CLAP_EXT_PARAMS)))
        if (params->request_flush != nullptr)
            params->request_flush(mHost);
}

void IEffectCLAP::BeginParamGesture(int paramIdx)
{
    QueueEdit(CLAP_EVENT_PARAM_GESTURE_BEGIN, paramIdx, 0.0);
}

void IEffectCLAP::ReportParamChange(int paramIdx, double normalized)
{
    if (paramIdx >= 0 && paramIdx < GetParamCount())
        QueueEdit(CLAP_EVENT_PARAM_VALUE, paramIdx, GetParam(paramIdx)->Value());
    (void)normalized; // the host speaks plain values; the record holds the stored one
}

void IEffectCLAP::EndParamGesture(int paramIdx)
{
    QueueEdit(CLAP_EVENT_PARAM_GESTURE_END, paramIdx, 0.0);
}

int IEffectCLAP::GetSamplePosition() const noexcept
{
    // The host gives seconds on its timeline; samples follow from the rate.
    if (!mHasTransport || (mTransport.flags & CLAP_TRANSPORT_HAS_SECONDS_TIMELINE) == 0)
        return 0;
    const double seconds = static_cast<double>(mTransport.song_pos_seconds) / CLAP_SECTIME_FACTOR;
    return static_cast<int>(seconds * GetSampleRate());
}

double IEffectCLAP::GetTempo() const noexcept
{
    return mHasTransport && (mTransport.flags & CLAP_TRANSPORT_HAS_TEMPO) != 0 ? mTransport.tempo : 120.0;
}

void IEffectCLAP::GetTimeSignature(int& numerator, int& denominator) const noexcept
{
    const bool known = mHasTransport && (mTransport.flags & CLAP_TRANSPORT_HAS_TIME_SIGNATURE) != 0;
    numerator = known ? mTransport.tsig_num : 4;
    denominator = known ? mTransport.tsig_denom : 4;
}

void IEffectCLAP::GetTransportInfo(ITransportInfo& info) const noexcept
{
    info = ITransportInfo{};
    info.tempo = GetTempo();
    GetTimeSignature(info.numerator, info.denominator);
    info.samplePosition = GetSamplePosition();
    if (mHasTransport) {
        info.transportRunning = (mTransport.flags & CLAP_TRANSPORT_IS_PLAYING) != 0;
        info.loopEnabled = (mTransport.flags & CLAP_TRANSPORT_IS_LOOP_ACTIVE) != 0;
        info.quarterNotePosition = static_cast<double>(mTransport.song_pos_beats) / CLAP_BEATTIME_FACTOR;
        info.lastBarPosition = static_cast<double>(mTransport.bar_start) / CLAP_BEATTIME_FACTOR;
        info.cycleStart = static_cast<double>(mTransport.loop_start_beats) / CLAP_BEATTIME_FACTOR;
        info.cycleEnd = static_cast<double>(mTransport.loop_end_beats) / CLAP_BEATTIME_FACTOR;
    }
}

bool IEffectCLAP::ResizeEditor(int width, int height)
{
    return mGui->RequestResize(width, height);
}

bool IEffectCLAP::SendMidiMessage(const IMidiMessage&) noexcept
{
    return false;
}

const void* IEffectCLAP::Extension(const char* id) const noexcept
{
    return ClapPluginCalls::Extension(id);
}
