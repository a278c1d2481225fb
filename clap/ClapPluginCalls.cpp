// SPDX-License-Identifier: GPL-3.0-or-later
#include "clap/ClapPluginCalls.h"

#include "clap/ClapPresetLoad.h"
#include "clap/IEffectCLAP.h"

#include <cstring>

namespace {

IEffectCLAP& Effect(const clap_plugin_t* plugin) noexcept
{
    return *IEffectCLAP::From(plugin);
}

// ---- clap_plugin_t --------------------------------------------------------------------

bool CLAP_ABI Init(const clap_plugin_t* plugin)
{
    return Effect(plugin).Init();
}

void CLAP_ABI Destroy(const clap_plugin_t* plugin)
{
    delete IEffectCLAP::From(plugin);
}

bool CLAP_ABI Activate(const clap_plugin_t* plugin, double sampleRate, uint32_t, uint32_t maxFrames)
{
    return Effect(plugin).Activate(sampleRate, maxFrames);
}

void CLAP_ABI Deactivate(const clap_plugin_t*) {}

bool CLAP_ABI StartProcessing(const clap_plugin_t*)
{
    return true;
}

void CLAP_ABI StopProcessing(const clap_plugin_t*) {}

void CLAP_ABI Reset(const clap_plugin_t* plugin)
{
    Effect(plugin).Reset();
}

clap_process_status CLAP_ABI Process(const clap_plugin_t* plugin, const clap_process_t* process)
{
    return process != nullptr ? Effect(plugin).Process(*process) : CLAP_PROCESS_ERROR;
}

const void* CLAP_ABI GetExtension(const clap_plugin_t* plugin, const char* id)
{
    return id != nullptr ? Effect(plugin).Extension(id) : nullptr;
}

void CLAP_ABI OnMainThread(const clap_plugin_t*) {}

// ---- audio-ports: one main stereo port each way ------------------------------------------

uint32_t CLAP_ABI PortCount(const clap_plugin_t*, bool)
{
    return 1;
}

bool CLAP_ABI PortInfo(const clap_plugin_t* plugin, uint32_t index, bool isInput, clap_audio_port_info_t* info)
{
    if (index != 0 || info == nullptr)
        return false;
    IEffectCLAP& effect = Effect(plugin);
    *info = clap_audio_port_info_t{};
    info->id = 0;
    const auto& names = isInput ? effect.GetInputBusNames() : effect.GetOutputBusNames();
    std::strncpy(info->name, names.empty() ? "" : names[0].c_str(), sizeof info->name - 1);
    info->flags = CLAP_AUDIO_PORT_IS_MAIN | CLAP_AUDIO_PORT_SUPPORTS_64BITS;
    info->channel_count = 2;
    info->port_type = CLAP_PORT_STEREO;
    info->in_place_pair = 0;
    return true;
}

constexpr clap_plugin_audio_ports_t kAudioPorts = {PortCount, PortInfo};

// ---- params ---------------------------------------------------------------------------------

uint32_t CLAP_ABI ParamCount(const clap_plugin_t* plugin)
{
    return Effect(plugin).ParamCount();
}

bool CLAP_ABI ParamInfo(const clap_plugin_t* plugin, uint32_t index, clap_param_info_t* info)
{
    return info != nullptr && Effect(plugin).ParamInfo(index, *info);
}

bool CLAP_ABI ParamValue(const clap_plugin_t* plugin, clap_id id, double* value)
{
    return value != nullptr && Effect(plugin).ParamValue(id, *value);
}

bool CLAP_ABI ValueToText(const clap_plugin_t* plugin, clap_id id, double value, char* text, uint32_t capacity)
{
    return Effect(plugin).ValueToText(id, value, text, capacity);
}

bool CLAP_ABI TextToValue(const clap_plugin_t* plugin, clap_id id, const char* text, double* value)
{
    return value != nullptr && Effect(plugin).TextToValue(id, text, *value);
}

void CLAP_ABI Flush(const clap_plugin_t* plugin, const clap_input_events_t* in, const clap_output_events_t* out)
{
    Effect(plugin).Flush(in, out);
}

constexpr clap_plugin_params_t kParams = {ParamCount, ParamInfo, ParamValue, ValueToText, TextToValue, Flush};

// ---- state -------------------------------------------------------------------------------------

bool CLAP_ABI SaveState(const clap_plugin_t* plugin, const clap_ostream_t* stream)
{
    return stream != nullptr && Effect(plugin).SaveStateTo(*stream);
}

bool CLAP_ABI LoadState(const clap_plugin_t* plugin, const clap_istream_t* stream)
{
    // The host started the load and reads the values back itself; asking it
    // to rescan them made hosts mark a just-opened project as modified.
    return stream != nullptr && Effect(plugin).LoadStateFrom(*stream);
}

constexpr clap_plugin_state_t kState = {SaveState, LoadState};

// ---- latency ----------------------------------------------------------------------------------

uint32_t CLAP_ABI Latency(const clap_plugin_t* plugin)
{
    return static_cast<uint32_t>(Effect(plugin).GetLatency());
}

constexpr clap_plugin_latency_t kLatency = {Latency};

uint32_t CLAP_ABI Tail(const clap_plugin_t* plugin)
{
    return static_cast<uint32_t>(Effect(plugin).TailSamples());
}

constexpr clap_plugin_tail_t kTail = {Tail};

// ---- gui, timer-support, posix-fd-support -----------------------------------------------

ClapEditorGui& Gui(const clap_plugin_t* plugin) noexcept
{
    return Effect(plugin).Gui();
}

constexpr clap_plugin_gui_t kGui = {
    [](const clap_plugin_t* p, const char* api, bool floating) { return Gui(p).IsApiSupported(api, floating); },
    [](const clap_plugin_t* p, const char** api, bool* floating) { return Gui(p).PreferredApi(api, floating); },
    [](const clap_plugin_t* p, const char* api, bool floating) { return Gui(p).Create(api, floating); },
    [](const clap_plugin_t* p) { Gui(p).Destroy(); },
    [](const clap_plugin_t* p, double scale) { return Gui(p).SetScale(scale); },
    [](const clap_plugin_t* p, uint32_t* w, uint32_t* h) { return w != nullptr && h != nullptr && Gui(p).GetSize(*w, *h); },
    [](const clap_plugin_t*) { return false; },
    [](const clap_plugin_t* p, clap_gui_resize_hints_t* hints) { return hints != nullptr && Gui(p).GetResizeHints(*hints); },
    [](const clap_plugin_t* p, uint32_t* w, uint32_t* h) { return w != nullptr && h != nullptr && Gui(p).AdjustSize(*w, *h); },
    [](const clap_plugin_t* p, uint32_t w, uint32_t h) { return Gui(p).SetSize(w, h); },
    [](const clap_plugin_t* p, const clap_window_t* window) { return window != nullptr && Gui(p).SetParent(*window); },
    [](const clap_plugin_t*, const clap_window_t*) { return false; },
    [](const clap_plugin_t*, const char*) {},
    [](const clap_plugin_t* p) { return Gui(p).Show(); },
    [](const clap_plugin_t* p) { return Gui(p).Hide(); },
};

#ifndef _WIN32
constexpr clap_plugin_timer_support_t kTimerSupport = {
    [](const clap_plugin_t* p, clap_id timerId) { Gui(p).OnTimer(timerId); }};

constexpr clap_plugin_posix_fd_support_t kFdSupport = {
    [](const clap_plugin_t* p, int fd, clap_posix_fd_flags_t) { Gui(p).OnFd(fd); }};
#endif

} // namespace

namespace ClapPluginCalls {

clap_plugin_t Table() noexcept
{
    clap_plugin_t plugin{};
    plugin.init = Init;
    plugin.destroy = Destroy;
    plugin.activate = Activate;
    plugin.deactivate = Deactivate;
    plugin.start_processing = StartProcessing;
    plugin.stop_processing = StopProcessing;
    plugin.reset = Reset;
    plugin.process = Process;
    plugin.get_extension = GetExtension;
    plugin.on_main_thread = OnMainThread;
    return plugin;
}

const void* Extension(const char* id) noexcept
{
    if (std::strcmp(id, CLAP_EXT_AUDIO_PORTS) == 0)
        return &kAudioPorts;
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0)
        return &kParams;
    if (std::strcmp(id, CLAP_EXT_STATE) == 0)
        return &kState;
    if (std::strcmp(id, CLAP_EXT_LATENCY) == 0)
        return &kLatency;
    if (std::strcmp(id, CLAP_EXT_TAIL) == 0)
        return &kTail;
    if (std::strcmp(id, CLAP_EXT_GUI) == 0)
        return &kGui;
    if (std::strcmp(id, CLAP_EXT_PRESET_LOAD) == 0 || std::strcmp(id, CLAP_EXT_PRESET_LOAD_COMPAT) == 0)
        return ClapPresetLoad::Extension();
#ifndef _WIN32
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0)
        return &kTimerSupport;
    if (std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT) == 0)
        return &kFdSupport;
#endif
    return nullptr;
}

} // namespace ClapPluginCalls
