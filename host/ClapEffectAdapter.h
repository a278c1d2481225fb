// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"
#include "host/ClapEventLists.h"
#include "vst3/sdk/SingleComponentEffect.h"

#include <atomic>
#include <mutex>
#include <string>

/// A CLAP plug-in seen through the VST3 interfaces the host library drives
/// (component, processor, controller), so that every tool and test of the
/// library runs it unchanged: parameters are published with their plain
/// ranges mapped linearly onto 0..1, queue points become parameter events
/// at their sample offsets, state goes through the plug-in's state
/// extension, edits the plug-in sends back reach the component handler as
/// beginEdit / performEdit / endEdit (a flush the plug-in asks for outside
/// process runs at once), and the editor is the plug-in's gui.
///
/// Created by the module's factory (see ClapModuleFactory) and owned by the
/// host through reference counting; the CLAP instance lives from
/// initialize to terminate. One main stereo port each way.
class ClapPlugView;

class ClapEffectAdapter : public Steinberg::Vst::SingleComponentEffect {
public:
    /// `factory` belongs to the loaded module, which outlives the adapter.
    ClapEffectAdapter(const clap_plugin_factory_t& factory, std::string pluginId);
    ~ClapEffectAdapter() override;

    // ---- IPluginBase / IComponent / IAudioProcessor [ui] unless noted -----------------
    /// Creates and initialises the CLAP instance, publishes its parameters
    /// and ports. kResultFalse if the plug-in cannot be created.
    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
    /// Deactivates and destroys the CLAP instance.
    Steinberg::tresult PLUGIN_API terminate() SMTG_OVERRIDE;
    /// Only the plug-in's port layout (stereo in, stereo out) is accepted.
    Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                     Steinberg::int32 numIns,
                                                     Steinberg::Vst::SpeakerArrangement* outputs,
                                                     Steinberg::int32 numOuts) SMTG_OVERRIDE;
    /// 32-bit always; 64-bit when the plug-in's ports support it.
    Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 size) SMTG_OVERRIDE;
    /// activate / deactivate with the set-up's rate and block size.
    Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;
    /// start_processing / stop_processing.
    Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) SMTG_OVERRIDE;
    /// [audio] The plug-in's process with the queues' points as events.
    Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE;

    // ---- IEditController [ui] -----------------------------------------------------------------
    /// The plug-in's state extension, through the host's stream.
    Steinberg::tresult getControllerState(Steinberg::IBStream* stream) SMTG_OVERRIDE;
    Steinberg::tresult setControllerState(Steinberg::IBStream* stream) SMTG_OVERRIDE;
    /// The plug-in's current value (get_value), normalised.
    Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
    /// Stores the host's value, and the plug-in hears of it at once through
    /// flush, as this host runs flush whenever no process call is under way
    /// (the host's next process queue carries it again, as for VST3).
    Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                     Steinberg::Vst::ParamValue value) SMTG_OVERRIDE;
    /// "editor": a view over the plug-in's gui extension; null without one.
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) SMTG_OVERRIDE;
    /// [ui] The view whose timers, descriptors and resizes the host serves
    /// (the latest created; null when it is gone).
    void SetView(ClapPlugView* view) { mView = view; }

    /// [any] The CLAP instance (null outside initialize … terminate).
    const clap_plugin_t* Plugin() const { return mPlugin; }

private:
    static const void* CLAP_ABI HostExtension(const clap_host_t* host, const char* id);
    static ClapEffectAdapter& From(const clap_host_t* host);
    void OnPluginEvent(const clap_event_header_t& header);
    void QueueChanges(Steinberg::Vst::IParameterChanges* changes);

    const clap_plugin_factory_t& mFactory;
    std::string mPluginId;
    std::string mHostName = "keldra-host";
    clap_host_t mHost{};
    const clap_plugin_t* mPlugin = nullptr;
    const clap_plugin_params_t* mParams = nullptr;
    const clap_plugin_state_t* mState = nullptr;
    const clap_plugin_latency_t* mLatency = nullptr;
    bool mSupports64 = false;
    bool mActive = false;
    /// Set by the first process call (audio thread), read by the user-interface thread.
    std::atomic<bool> mProcessing{false};
    /// This host's own rule: process (audio thread) and flush (user-interface
    /// thread) never run side by side, as CLAP requires.
    std::mutex mCallLock;
    ClapPlugView* mView = nullptr;
    ClapInputEventList mInEvents;
    ClapOutputEventList mOutEvents;
};
