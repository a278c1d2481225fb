// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"
#include "clap/ClapEditQueue.h"
#include "clap/ClapEditorGui.h"
#include "framework/IEffectBase.h"

#include <memory>

/// The CLAP binding: the plug-in base seen by a CLAP host as one
/// clap_plugin_t with the audio-ports, params, state, latency and gui
/// extensions. The effect class derives from it; the module's factory
/// creates it and the host's destroy call deletes it.
///
/// Threads follow CLAP's rules: [main] is the host's main thread, [audio]
/// its audio thread. The main-thread calls serialise among themselves
/// through the base's lock; process and flush never take it. Parameters are published with their plain values: ids 0 … N − 1 for
/// the base's parameters, kBypassParamId for the host bypass.
class IEffectCLAP : public IEffectBase {
public:
    /// Id of the host bypass parameter (characters "bpas", as in VST3).
    static constexpr clap_id kBypassParamId = 0x62706173;

    /// [main] Constructs the base with the same arguments and connects every
    /// channel; the stereo buses are named "Main Input" and "Output".
    IEffectCLAP(int paramCount, const char* channelIOText, int presetCount, const char* effectName,
                const char* productName, const char* makerName, std::int32_t version,
                std::int32_t uniqueId, std::int32_t makerId, int latency = 0,
                bool doesMidi = false, bool isInstrument = false);
    ~IEffectCLAP() override;

    /// [main] Ties the instance to `host` (borrowed, outlives the instance)
    /// and `descriptor` (static); the factory calls it once before handing
    /// out Plugin().
    void Bind(const clap_host_t* host, const clap_plugin_descriptor_t* descriptor) noexcept;
    /// [any] The clap_plugin_t the host holds; its plugin_data is this object.
    const clap_plugin_t* Plugin() const noexcept { return &mPlugin; }
    /// [any] The instance behind a clap_plugin_t made by Bind.
    static IEffectCLAP* From(const clap_plugin_t* plugin) noexcept;
    /// [main] The host's extension `id`, or nullptr.
    const void* HostExtension(const char* id) const noexcept;
    const clap_host_t* Host() const noexcept { return mHost; }
    /// [main] The gui extension's state.
    ClapEditorGui& Gui() noexcept { return *mGui; }

    // ---- clap_plugin_t (the trampolines call these) ------------------------------
    /// [main] Identifies the host and loads the default preset.
    bool Init() noexcept;
    /// [main] Rate and largest block: sizes the scratch arrays (for at most
    /// the base's internal block), OnReset. False for a rate that is not a
    /// positive number, a block below 1 or above INT32_MAX, or memory that
    /// ran out.
    bool Activate(double sampleRate, uint32_t maxFrames) noexcept;
    /// [audio] One block: parameter events apply at their sample offsets,
    /// editor edits go out as events. Takes no lock.
    clap_process_status Process(const clap_process_t& process) noexcept;
    /// [audio] Clears the signal state (OnReset).
    void Reset() noexcept;
    /// [main] The extension `id` this plug-in offers, or nullptr.
    const void* Extension(const char* id) const noexcept;

    // ---- params ---------------------------------------------------------------------------
    /// [main] The base's parameters, then the host bypass.
    uint32_t ParamCount() const noexcept;
    bool ParamInfo(uint32_t index, clap_param_info_t& info) const noexcept;
    bool ParamValue(clap_id id, double& value) const noexcept;
    /// [main] The same texts as the VST3 binding shows ("off"/"on" for the
    /// host bypass).
    bool ValueToText(clap_id id, double value, char* text, uint32_t capacity) const noexcept;
    /// [main] Reads a decimal number (clamped to the range); refuses text
    /// that is not one.
    bool TextToValue(clap_id id, const char* text, double& value) const noexcept;
    /// [main, not processing] or [audio] Applies `in` and sends the queued
    /// editor edits to `out`. Takes no lock.
    void Flush(const clap_input_events_t* in, const clap_output_events_t* out) noexcept;

    // ---- state -------------------------------------------------------------------------------
    /// [main] The parameter values and the host bypass flag, 68 bytes here,
    /// as the VST3 binding saves them.
    bool SaveStateTo(const clap_ostream_t& stream) noexcept;
    /// [main] Restores what SaveState wrote: a stream cut short changes
    /// nothing; one with the values but no bypass flag (older projects)
    /// restores the values. Only a whole state is success.
    bool LoadStateFrom(const clap_istream_t& stream) noexcept;

    // ---- IEffectBase operations the binding provides -------------------------------------
    /// [ui] Queued for the host as gesture and value events, which process
    /// or flush deliver.
    void BeginParamGesture(int paramIdx) override;
    void ReportParamChange(int paramIdx, double normalized) override;
    void EndParamGesture(int paramIdx) override;
    void ReportProgramChange() override {}
    /// [any] kApiClap.
    int GetApiId() const override { return kApiClap; }
    /// [audio] Transport of the current block, as the host gave it.
    int GetSamplePosition() const noexcept override;
    double GetTempo() const noexcept override;
    void GetTimeSignature(int& numerator, int& denominator) const noexcept override;
    void GetTransportInfo(ITransportInfo& info) const noexcept override;
    /// [ui] Asks the host to resize the editor window; false without one.
    bool ResizeEditor(int width, int height) override;
    /// [audio] This plug-in sends no MIDI: false.
    bool SendMidiMessage(const IMidiMessage& message) noexcept override;


private:
    void ApplyEvent(const clap_event_header_t& header) noexcept;
    void ApplyEvents(const clap_input_events_t* in) noexcept;
    /// [audio] The host's first input and output ports.
    template <typename Sample, typename Arrays>
    static HostBuses<Sample> MainBuses(const clap_process_t& process, Arrays clap_audio_buffer_t::*arrays) noexcept;
    void QueueEdit(uint16_t type, int paramIdx, double plainValue) noexcept;

    clap_plugin_t mPlugin{};
    const clap_host_t* mHost = nullptr;
    ClapEditQueue mEdits{GetParamCount()};
    clap_event_transport_t mTransport{};
    bool mHasTransport = false;
    std::unique_ptr<ClapEditorGui> mGui;
};
