// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IEffectBase.h"
#include "platform/RelaxedAtomic.h"
#include "vst3/sdk/SingleComponentEffect.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <atomic>
#include <vector>

/// The VST3 binding: one object that is the plug-in base, the VST3
/// component, the audio processor and the edit controller. The effect class
/// derives from it. The host owns it through reference counting.
///
/// Threads: [audio] is the host's process thread, [ui] its user-interface
/// thread. The user-interface calls serialise among themselves through the
/// base's lock; process never takes it.
class IEffectVST3 : public IEffectBase, public Steinberg::Vst::SingleComponentEffect {
public:
    /// Published id of the preset parameter (characters "prst").
    static constexpr Steinberg::Vst::ParamID kPresetParamId = 0x70727374;
    /// Published id of the host bypass parameter (characters "bpas").
    static constexpr Steinberg::Vst::ParamID kBypassParamId = 0x62706173;

    /// [ui] Constructs the base with the same arguments, connects every
    /// channel and names the buses "Main Input" and "Output".
    IEffectVST3(int paramCount, const char* channelIOText, int presetCount, const char* effectName,
                const char* productName, const char* makerName, std::int32_t version,
                std::int32_t uniqueId, std::int32_t makerId, int latency = 0,
                bool doesMidi = false, bool isInstrument = false);
    ~IEffectVST3() override;

    /// [any] The VST3 speaker arrangement used for a bus of `channels`
    /// channels (0 = empty for counts without one).
    static Steinberg::Vst::SpeakerArrangement ArrangementFor(int channels) noexcept;

    // ---- IPluginBase ---------------------------------------------------------
    /// [ui] Identifies the host, creates the buses, publishes the parameters,
    /// then OnHostInit and LoadPreset(0). kResultFalse on a repeated call
    /// (buses and parameters are then left as they are).
    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
    /// [ui] Removes buses and published parameters; initialize may follow.
    Steinberg::tresult PLUGIN_API terminate() SMTG_OVERRIDE;

    // ---- IComponent / IAudioProcessor -----------------------------------------
    /// [ui] OnReset when activating (each activation starts clean), then
    /// OnActivate(state != 0); kResultOk.
    Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;
    /// [ui] Accepts the legal channel configurations of the base (first
    /// input and output arrangement); kResultFalse for anything else,
    /// including calls before initialize or with no arrangements.
    Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                     Steinberg::int32 numIns,
                                                     Steinberg::Vst::SpeakerArrangement* outputs,
                                                     Steinberg::int32 numOuts) SMTG_OVERRIDE;
    /// [ui] 32- and 64-bit samples are supported.
    Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 size) SMTG_OVERRIDE;
    /// [ui] Stores rate and block size, sizes the scratch arrays (for at
    /// most the base's internal block: longer blocks run in parts), OnReset.
    /// The host's bypass flag is kept. kResultFalse for an unknown sample
    /// size, a block size below 1, a rate that is not a positive number or
    /// memory that ran out.
    Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
    /// [audio] One block, split at every queue point (each applies from its
    /// own sample on): buffer binding, ProcessBlock or PassThrough. The arrays are read in
    /// the sample size the call declares; null channel arrays are inputs of
    /// silence and outputs that are skipped. Takes no lock. kResultOk.
    Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) noexcept SMTG_OVERRIDE;
    /// [ui] The base's latency and tail, in samples (0 for this plug-in).
    Steinberg::uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE;

    // ---- state: component and controller save and restore the same bytes ------
    /// [ui] IComponent::getState: the parameter values and the bypass flag
    /// (68 bytes here), through the base's state pair.
    Steinberg::tresult getProcessorState(Steinberg::IBStream* stream) SMTG_OVERRIDE;
    /// [ui] IComponent::setState: restores what getState wrote, reading on
    /// through short reads; a chunk cut short changes nothing, one with the
    /// values but no bypass flag (older projects) restores the values.
    /// kResultOk only for a whole chunk.
    Steinberg::tresult setProcessorState(Steinberg::IBStream* stream) SMTG_OVERRIDE;
    /// [ui] IEditController::getState and setState, as the component's.
    Steinberg::tresult getControllerState(Steinberg::IBStream* stream) SMTG_OVERRIDE;
    Steinberg::tresult setControllerState(Steinberg::IBStream* stream) SMTG_OVERRIDE;
    /// [ui] The component's state handed to the controller: restored as by
    /// setState (the two are one object, so applying it again is harmless).
    Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream* stream) SMTG_OVERRIDE;

    // ---- IEditController -------------------------------------------------------
    /// [ui] Display text of a base parameter, or the name of the preset a
    /// preset value names; kResultFalse for other ids.
    Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id,
                                                        Steinberg::Vst::ParamValue normalized,
                                                        Steinberg::Vst::String128 text) SMTG_OVERRIDE;
    /// [ui] Base parameters: PlainToNormalized; other ids return `plain`.
    Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(Steinberg::Vst::ParamID id,
                                                                 Steinberg::Vst::ParamValue plain) SMTG_OVERRIDE;
    /// [ui] Bypass: the value last given to setParamNormalized, or 1 or 0
    /// as the processor's flag last changed (queue or state), whichever came
    /// later; preset: the value of the preset last loaded; base parameters:
    /// the controller's own copy (what the host set, or what a restore,
    /// a preset or the editor left); else 0.
    Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
    /// [ui] Stores a base parameter's value in the controller's own copy and
    /// moves the editor's controls bound to it (the lock is held only for
    /// that); the processor hears of the change through the process queues
    /// alone. For the bypass id only the controller's display value is
    /// stored. kResultFalse for NaN and unknown ids.
    Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                     Steinberg::Vst::ParamValue value) SMTG_OVERRIDE;

    // ---- IUnitInfo (all [ui]) ------------------------------------------------------
    /// The root unit plus one per distinct parameter group.
    Steinberg::int32 PLUGIN_API getUnitCount() SMTG_OVERRIDE;
    /// Unit 0 is "Root Unit", carrying the preset list when there are
    /// presets; unit i names group i - 1. kResultFalse beyond.
    Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 index,
                                              Steinberg::Vst::UnitInfo& info) SMTG_OVERRIDE;
    /// 1 when there are presets (the list below), else 0.
    Steinberg::int32 PLUGIN_API getProgramListCount() SMTG_OVERRIDE;
    /// List 0, when there are presets: "Factory Presets" with the preset
    /// parameter's id and one program per preset; kResultFalse otherwise.
    Steinberg::tresult PLUGIN_API getProgramListInfo(Steinberg::int32 index,
                                                     Steinberg::Vst::ProgramListInfo& info) SMTG_OVERRIDE;
    /// The name of preset `index` ("" outside the presets) of the preset
    /// list; kResultFalse for another list id.
    Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId, Steinberg::int32 index,
                                                 Steinberg::Vst::String128 name) SMTG_OVERRIDE;
    /// The rest of the unit interface is not provided: kNotImplemented.
    Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID, Steinberg::int32,
                                                 Steinberg::Vst::CString,
                                                 Steinberg::Vst::String128) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID,
                                                       Steinberg::int32) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID, Steinberg::int32,
                                                      Steinberg::int16, Steinberg::Vst::String128) SMTG_OVERRIDE;
    Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() SMTG_OVERRIDE { return 0; }
    Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType, Steinberg::Vst::BusDirection,
                                               Steinberg::int32, Steinberg::int32,
                                               Steinberg::Vst::UnitID&) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32, Steinberg::int32,
                                                     Steinberg::IBStream*) SMTG_OVERRIDE;

    // ---- IEffectBase operations the binding provides ---------------------------------
    /// [ui] beginEdit / performEdit / endEdit with the index as parameter id.
    void BeginParamGesture(int paramIdx) override;
    void ReportParamChange(int paramIdx, double normalized) override;
    void EndParamGesture(int paramIdx) override;
    /// [any] Notes that a preset was loaded; the host is told on the
    /// user-interface thread (TellHostOfProgramChange). Never blocks.
    void ReportProgramChange() noexcept override;
    /// [ui] The editor's tick: tells the host of a pending program change.
    void OnEditorIdle() override;
    /// [ui] The host's context menu for parameter `paramIdx` at (x, y) on the
    /// first open editor view, when the host offers one.
    void PopupHostContextMenu(int paramIdx, int x, int y) override;
    /// [audio] Transport from the last process context; offline when the
    /// set-up's process mode is offline.
    bool IsOfflineRender() const noexcept override;
    int GetSamplePosition() const noexcept override;
    double GetTempo() const noexcept override;
    void GetTimeSignature(int& numerator, int& denominator) const noexcept override;
    void GetTransportInfo(ITransportInfo& info) const noexcept override;
    /// [ui] Asks the host, through the first editor view, to resize it to
    /// `width` x `height` editor pixels. False without an editor or a view.
    bool ResizeEditor(int width, int height) override;
    /// [audio] This plug-in sends no MIDI: false.
    bool SendMidiMessage(const IMidiMessage& message) noexcept override;
    bool SendSysexMessage(const ISysexMessage& message) noexcept override;

    // ---- editor views -------------------------------------------------------------
    /// [ui] Records an open editor view (borrowed; the view unregisters itself).
    void AddView(Steinberg::IPlugView* view) { mViews.push_back(view); }
    /// [ui] Forgets one recorded view (called as that view is destroyed;
    /// the other views stay listed).
    void RemoveView(Steinberg::IPlugView* view);
    /// [ui] "editor" (exactly): a new editor view on this object, listed in
    /// the views; the host owns its one reference. Any other name: null.
    Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) SMTG_OVERRIDE;

    OBJ_METHODS(IEffectVST3, SingleComponentEffect)
    REFCOUNT_METHODS(SingleComponentEffect)

private:
    /// [ui] Restarts the host's view of every parameter value
    /// (kParamValuesChanged), and the controller's copy, if a preset was
    /// loaded since the last call.
    /// Called on entry to the controller calls a host makes on its
    /// user-interface thread and on every editor tick.
    void TellHostOfProgramChange();
    /// [ui] The controller's copy takes every processor value (after a
    /// restore, a preset or initialisation).
    void ShowProcessorValues();
    /// [ui] The controller's copy of parameter `id` (nullptr for other ids),
    /// first brought to the processor's value if that changed since the
    /// last look.
    Steinberg::Vst::Parameter* FollowProcessor(Steinberg::Vst::ParamID id);
    /// [ui] The state save and restore behind every state call.
    Steinberg::tresult WriteState(Steinberg::IBStream* stream);
    Steinberg::tresult ReadState(Steinberg::IBStream* stream);
    /// [audio][ui] Sets the processor's bypass flag and the controller's
    /// display of it together (process queue, state restore).
    void SetHostBypass(bool bypassed) noexcept;
    void PublishParameters();
    /// [audio] One queue point: the host bypass, a program change, or a parameter.
    void ApplyPoint(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) noexcept;
    /// [audio] Applies, of each queue, the last point due in (after, upTo].
    void ApplyParameterChanges(Steinberg::Vst::IParameterChanges* changes, Steinberg::int32 after,
                               Steinberg::int32 upTo) noexcept;
    /// [audio] The first point of any queue after `after`, or `end`.
    static Steinberg::int32 NextPointAfter(Steinberg::Vst::IParameterChanges* changes, Steinberg::int32 after,
                                           Steinberg::int32 end) noexcept;
    /// [audio] The host's main input bus and the published output bus.
    template <typename Sample, typename Arrays>
    HostBuses<Sample> MainBuses(const Steinberg::Vst::ProcessData& data,
                                Arrays Steinberg::Vst::AudioBusBuffers::*arrays) noexcept;

    Steinberg::Vst::ProcessContext mContext{};
    std::vector<Steinberg::IPlugView*> mViews;
    bool mPublished = false;
    /// A preset was loaded (on the audio thread) and the host not yet told.
    std::atomic<bool> mProgramChanged{false};
    /// The host bypass as the controller shows it (normalised); written on
    /// the audio thread by the process queues, so held race-free.
    RelaxedAtomic<double> mBypassShown = 0.0;
    /// [ui] The processor's normalised values as the controller last saw them.
    std::vector<double> mSeenProcessorValues;
};
