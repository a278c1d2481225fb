// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "../framework/BindingProbe.h"
#include "host/HostApplication.h"
#include "vst3/IEffectVST3.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <type_traits>
#include <vector>

/// The probe effect on the VST3 binding.
using ProbeEffect = BindingProbe<IEffectVST3>;

/// A probe created, initialised with a host application and set up for
/// stereo processing, released at the end of the test.
struct ProbeHost {
    explicit ProbeHost(int sampleSize = Steinberg::Vst::kSample32, int maxBlock = 64)
    {
        effect->initialize(&app);
        // As hosts do: buses start inactive until the host activates them.
        effect->activateBus(Steinberg::Vst::kAudio, Steinberg::Vst::kInput, 0, true);
        effect->activateBus(Steinberg::Vst::kAudio, Steinberg::Vst::kOutput, 0, true);
        Steinberg::Vst::ProcessSetup setup{Steinberg::Vst::kRealtime, sampleSize, maxBlock, 48000.0};
        effect->setupProcessing(setup);
        effect->setActive(true);
        effect->changed.clear();
    }
    ~ProbeHost()
    {
        effect->setActive(false);
        effect->terminate();
        effect->release();
    }
    ProbeHost(const ProbeHost&) = delete;
    ProbeHost& operator=(const ProbeHost&) = delete;

    HostApplication app{"Probe Test Host"};
    ProbeEffect* effect = new ProbeEffect();
};

/// Stereo host buffers of one sample size for one call: input ramps,
/// output pre-filled.
template <typename Sample>
struct HostBuffers {
    explicit HostBuffers(int frames, Sample fill = -7)
        : in(2, std::vector<Sample>(frames)), out(2, std::vector<Sample>(frames, fill))
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < frames; ++i)
                in[c][i] = 0.001f * static_cast<float>(i + 1) * (c == 0 ? 1.0f : -0.5f);
        for (int c = 0; c < 2; ++c) {
            inPtr[c] = in[c].data();
            outPtr[c] = out[c].data();
        }
        inBus.numChannels = outBus.numChannels = 2;
        if constexpr (std::is_same_v<Sample, double>) {
            inBus.channelBuffers64 = inPtr;
            outBus.channelBuffers64 = outPtr;
            data.symbolicSampleSize = Steinberg::Vst::kSample64;
        } else {
            inBus.channelBuffers32 = inPtr;
            outBus.channelBuffers32 = outPtr;
            data.symbolicSampleSize = Steinberg::Vst::kSample32;
        }
        data.numSamples = frames;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
    }
    std::vector<std::vector<Sample>> in, out;
    Sample* inPtr[2];
    Sample* outPtr[2];
    Steinberg::Vst::AudioBusBuffers inBus, outBus;
    Steinberg::Vst::ProcessData data;
};

using Buffers32 = HostBuffers<float>;
using Buffers64 = HostBuffers<double>;
