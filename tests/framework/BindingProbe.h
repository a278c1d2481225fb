// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/FourCharCode.h"
#include "framework/IParamRecord.h"

#include <vector>

/// A small effect on a format binding that records what the binding asks of
/// it: parameter notifications and the frame counts handed to ProcessBlock.
/// Three parameters (a continuous gain -15..15, an integer switch, a mix
/// 0..1 defaulting to 0.25); ProcessBlock writes 2 x input, so processed and
/// passed-through audio differ. The switch is the probe's own bypass.
template <class Binding>
class BindingProbe : public Binding {
public:
    BindingProbe()
        : Binding(3, "1-1 2-2", 1, "Probe", "", "Tester", 0x10000, MakeFourCharCode("Prb1"),
                  MakeFourCharCode("Tstr"))
    {
        this->GetParam(0)->DefineContinuous("Gain", 0.0, -15.0, 15.0, 0.01);
        this->GetParam(1)->SetKind(IParamRecord::kKindInteger);
        this->GetParam(1)->DefineContinuous("Switch", 0.0, 0.0, 1.0, 1.0);
        this->GetParam(2)->DefineContinuous("Mix", 0.25, 0.0, 1.0, 0.01);
        this->UseParamAsBypass(1);
        this->InitDefaultPresets("-");
        // Room enough that the audio path never allocates.
        changed.reserve(4096);
        blocks.reserve(4096);
    }

    void OnParamChanged(int paramIdx) override
    {
        if (changed.size() < changed.capacity())
            changed.push_back(paramIdx);
    }

    void ProcessBlock(double** inputs, double** outputs, int frames) noexcept override
    {
        if (blocks.size() < blocks.capacity())
            blocks.push_back(frames);
        for (int c = 0; c < this->GetOutputCount(); ++c)
            for (int i = 0; i < frames; ++i)
                outputs[c][i] = 2.0 * inputs[c][i];
    }

    std::vector<int> changed;
    std::vector<int> blocks;
};
