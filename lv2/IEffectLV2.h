// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IEffectBase.h"

#include <cstdint>
#include <vector>

class ILV2ControlSink;

/// The LV2 binding: the plug-in base behind an LV2 instance with audio and
/// control ports only. Port order: the audio inputs, the audio outputs, one
/// control input per parameter in index order, then the host's bypass (an
/// `lv2:enabled` port, 1 = processing). The effect class derives from it.
///
/// Threads: [audio] run, [ui] instantiation, state and the editor. The
/// user-interface calls serialise through the base's lock; run never takes it.
class IEffectLV2 : public IEffectBase {
public:
    /// [ui] Constructs the base with the same arguments and connects every channel.
    IEffectLV2(int paramCount, const char* channelIOText, int presetCount, const char* effectName,
               const char* productName, const char* makerName, std::int32_t version,
               std::int32_t uniqueId, std::int32_t makerId, int latency = 0,
               bool doesMidi = false, bool isInstrument = false);
    ~IEffectLV2() override;

    /// The port carrying parameter `paramIdx`, and the host's bypass port.
    std::uint32_t ControlPort(int paramIdx) const noexcept;
    std::uint32_t EnabledPort() const noexcept;

    // ---- the instance's life, as the host drives it --------------------------

    /// [ui] At instantiation: stores the rate and block size, sizes the
    /// scratch arrays (for at most the base's internal block), OnReset, then
    /// loads the default preset (which sets every working value). False for
    /// a rate that is not a positive number, a block size below 1 or memory
    /// that ran out.
    bool Start(double sampleRate, int maxBlockFrames);
    /// [any] Points `port` at the host's buffer (nullptr disconnects);
    /// unknown ports are ignored.
    void ConnectPort(std::uint32_t port, void* data) noexcept;
    /// [ui] OnReset then OnActivate(true) (activation returns the instance
    /// to its initial state) / OnActivate(false).
    void Activate();
    void Deactivate();
    /// [audio] One block: control ports that changed since the last run are
    /// parameter changes at its start, then the audio. Blocks longer than
    /// the prepared size run in parts. Takes no lock.
    void Run(std::uint32_t frames) noexcept;

    // ---- state -------------------------------------------------------------------

    /// [ui] Writes the base's state chunk (StateChunkBytes()), as every
    /// format saves it; false if memory ran out.
    bool SaveStateChunk(std::vector<std::uint8_t>& bytes);
    /// [ui] Restores a state chunk; false (nothing changed) when it is
    /// shorter than the parameter values. A chunk without the bypass flag
    /// leaves the host's bypass as it is. The restored values hold until the
    /// host changes a port.
    bool LoadStateChunk(const std::uint8_t* bytes, std::size_t size);

    // ---- the editor's link to the host ------------------------------------------

    /// [ui] Where edits from the editor go (the open UI), or nullptr.
    void SetControlSink(ILV2ControlSink* sink) noexcept { mControlSink = sink; }

    // ---- IEffectBase operations the binding provides ---------------------------------
    /// [ui] Told to the open UI, which passes them on to the host.
    void BeginParamGesture(int paramIdx) override;
    void ReportParamChange(int paramIdx, double normalized) override;
    void EndParamGesture(int paramIdx) override;
    /// [any] Nothing: the host reads the parameters from the control ports.
    void ReportProgramChange() override {}
    int GetApiId() const override { return kApiLv2; }
    /// [audio] LV2 hands plug-ins with only these ports no transport.
    int GetSamplePosition() const noexcept override { return 0; }
    double GetTempo() const noexcept override { return 0.0; }
    void GetTimeSignature(int& numerator, int& denominator) const noexcept override;
    void GetTransportInfo(ITransportInfo& info) const noexcept override { info = ITransportInfo(); }
    /// [ui] The editor keeps its size: false.
    bool ResizeEditor(int /*width*/, int /*height*/) override { return false; }
    /// [audio] This plug-in has no MIDI port: false.
    bool SendMidiMessage(const IMidiMessage& /*message*/) noexcept override { return false; }

private:
    void ApplyControlPorts() noexcept;
    void SeeCurrentPorts() noexcept;

    std::vector<const float*> mAudioIn;
    std::vector<float*> mAudioOut;
    std::vector<const float*> mControls;
    const float* mEnabled = nullptr;
    // The port values last seen, compared bit for bit: a port that differs
    // at the start of a run has been changed by the host.
    std::vector<float> mSeenControls;
    float mSeenEnabled = 1.0f;
    ILV2ControlSink* mControlSink = nullptr;
};
