// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IEffectBase.h"

#include <utility>
#include <vector>

/// A plug-in base with the host-facing operations implemented by recording
/// what the base asked of them.
class RecordingEffect : public IEffectBase {
public:
    RecordingEffect(int paramCount, const char* channelIOText, int presetCount = 1)
        : IEffectBase(paramCount, channelIOText, presetCount, "Recorder", "Tests", "Maker", 0x10203,
                      0x52656331, 0x4D616B31)
    {
    }

    void OnParamChanged(int paramIdx) override
    {
        IEffectBase::OnParamChanged(paramIdx);
        valueAtLastChange = GetParam(paramIdx)->Value();
        if (paramIdx == 0) {
            lastValueAtFirstChange = GetParam(GetParamCount() - 1)->Value();
        }
        changed.push_back(paramIdx);
        settledAtChange.push_back(ReadSettled([] {}));
        wholeSetAtChange.push_back(TakeWholeSet());
    }
    void OnPresetsChanged() override { ++presetsChanged; }
    void BeginParamGesture(int) override {}
    void ReportParamChange(int paramIdx, double normalized) override
    {
        reported.emplace_back(paramIdx, normalized);
    }
    void EndParamGesture(int) override {}
    void ReportProgramChange() override {}
    int GetSamplePosition() const override { return 0; }
    double GetTempo() const override { return 120.0; }
    void GetTimeSignature(int& numerator, int& denominator) const override
    {
        numerator = 4;
        denominator = 4;
    }
    void GetTransportInfo(ITransportInfo&) const override {}
    bool ResizeEditor(int, int) override { return false; }
    bool SendMidiMessage(const IMidiMessage&) override { return false; }

    std::vector<int> changed;
    std::vector<bool> settledAtChange;  ///< what the audio thread would have read at each notification
    std::vector<bool> wholeSetAtChange;  ///< whether a part starting then would have a whole set
    std::vector<std::pair<int, double>> reported;
    int presetsChanged = 0;
    double valueAtLastChange = -1.0;      ///< the notified parameter's value at its notification
    double lastValueAtFirstChange = -1.0;  ///< the last parameter's value when index 0 was notified
};
