// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

namespace Steinberg {
namespace Vst {

/// Routes the edit controller's state calls to their own names, so that a
/// class which is both component and controller can answer the two state
/// interfaces differently even though they share one signature.
class ControllerStateRouter : public EditControllerEx1 {
public:
    /// [ui] IEditController::setState, forwarded to setControllerState.
    tresult PLUGIN_API setState(IBStream* state) SMTG_OVERRIDE { return setControllerState(state); }
    /// [ui] IEditController::getState, forwarded to getControllerState.
    tresult PLUGIN_API getState(IBStream* state) SMTG_OVERRIDE { return getControllerState(state); }

    /// [ui] The controller's state restore; default: not implemented.
    virtual tresult setControllerState(IBStream*) { return kNotImplemented; }
    /// [ui] The controller's state save; default: not implemented.
    virtual tresult getControllerState(IBStream*) { return kNotImplemented; }
};

/// Routes the component's state calls to their own names, for the same
/// reason as ControllerStateRouter.
class ComponentStateRouter : public IComponent {
public:
    /// [ui] IComponent::setState, forwarded to setProcessorState.
    tresult PLUGIN_API setState(IBStream* state) SMTG_OVERRIDE { return setProcessorState(state); }
    /// [ui] IComponent::getState, forwarded to getProcessorState.
    tresult PLUGIN_API getState(IBStream* state) SMTG_OVERRIDE { return getProcessorState(state); }

    /// [ui] The component's state restore; default: not implemented.
    virtual tresult setProcessorState(IBStream*) { return kNotImplemented; }
    /// [ui] The component's state save; default: not implemented.
    virtual tresult getProcessorState(IBStream*) { return kNotImplemented; }
};

/// One object that is component, audio processor and edit controller at once.
/// It keeps the audio bus lists and the last processing set-up; subclasses
/// provide the processing and the bus policy.
class SingleComponentEffect : public ControllerStateRouter,
                              public ComponentStateRouter,
                              public IAudioProcessor {
public:
    SingleComponentEffect();
    ~SingleComponentEffect() override;

    // IPluginBase
    /// [ui] Stores the host context (kResultFalse when one is already stored).
    tresult PLUGIN_API initialize(FUnknown* context) SMTG_OVERRIDE;
    /// [ui] Removes buses and parameters and releases the host interfaces.
    tresult PLUGIN_API terminate() SMTG_OVERRIDE;

    // IComponent
    tresult PLUGIN_API getControllerClassId(TUID) SMTG_OVERRIDE { return kNotImplemented; }
    tresult PLUGIN_API setIoMode(IoMode) SMTG_OVERRIDE { return kNotImplemented; }
    /// [ui] Number of buses of the given media type and direction.
    int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) SMTG_OVERRIDE;
    /// [ui] Information on one bus; kInvalidArgument for an unknown bus.
    tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index,
                                  BusInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getRoutingInfo(RoutingInfo&, RoutingInfo&) SMTG_OVERRIDE { return kNotImplemented; }
    /// [ui] Activates or deactivates one bus; kInvalidArgument for an unknown bus.
    tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index,
                                   TBool state) SMTG_OVERRIDE;
    /// [ui] Default: accepts the state change.
    tresult PLUGIN_API setActive(TBool) SMTG_OVERRIDE { return kResultOk; }

    // IAudioProcessor
    /// [ui] Default: refuses every arrangement.
    tresult PLUGIN_API setBusArrangements(SpeakerArrangement*, int32, SpeakerArrangement*,
                                          int32) SMTG_OVERRIDE { return kResultFalse; }
    /// [ui] The arrangement of one audio bus; kResultFalse for an unknown bus.
    tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index,
                                         SpeakerArrangement& arr) SMTG_OVERRIDE;
    /// [ui] Default: 32-bit only.
    tresult PLUGIN_API canProcessSampleSize(int32 size) SMTG_OVERRIDE;
    uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE { return 0; }
    /// [ui] Default: keeps a copy of the set-up.
    tresult PLUGIN_API setupProcessing(ProcessSetup& setup) SMTG_OVERRIDE;
    tresult PLUGIN_API setProcessing(TBool) SMTG_OVERRIDE { return kNotImplemented; }
    uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE { return kNoTail; }

    OBJ_METHODS(SingleComponentEffect, EditControllerEx1)
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
    REFCOUNT_METHODS(EditControllerEx1)

protected:
    /// [ui] Appends an audio input bus and returns it (owned by the bus list).
    /// A bus flagged default-active is active until the host deactivates it.
    AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arr,
                            BusType type = kMain, int32 flags = BusInfo::kDefaultActive);
    /// [ui] Appends an audio output bus and returns it (owned by the bus list).
    AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arr,
                             BusType type = kMain, int32 flags = BusInfo::kDefaultActive);
    /// [ui] Removes every input (or output) audio bus.
    void removeAudioBusses(BusDirection dir);

    /// The audio bus list of one direction.
    BusList& audioBusses(BusDirection dir) { return dir == kInput ? audioInputs : audioOutputs; }

    BusList audioInputs;
    BusList audioOutputs;
    ProcessSetup processSetup;
};

} // namespace Vst
} // namespace Steinberg
