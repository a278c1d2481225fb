// SPDX-License-Identifier: GPL-3.0-or-later
// One host process call through the binding into KELDRA, in single and double
// precision: queue reading, buffer binding, conversion and the effect itself.
#include "effect/KELDRA.h"
#include "host/HostApplication.h"
#include "host/HostParameterChanges.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

template <typename Sample>
void ProcessBlock(benchmark::State& state)
{
    constexpr bool kDouble = sizeof(Sample) == sizeof(double);
    const int frames = static_cast<int>(state.range(0));
    auto* effect = new KELDRA();
    HostApplication app;
    effect->initialize(&app);
    effect->activateBus(kAudio, kInput, 0, true);
    effect->activateBus(kAudio, kOutput, 0, true);
    ProcessSetup setup{kRealtime, kDouble ? kSample64 : kSample32, frames, 48000.0};
    effect->setupProcessing(setup);
    effect->setActive(true);

    std::vector<std::vector<Sample>> in(2, std::vector<Sample>(frames)), out = in;
    for (int i = 0; i < frames; ++i)
        in[0][i] = in[1][i] = static_cast<Sample>(0.3 * std::sin(0.02 * i));
    Sample* inPtr[2] = {in[0].data(), in[1].data()};
    Sample* outPtr[2] = {out[0].data(), out[1].data()};
    AudioBusBuffers inBus, outBus;
    inBus.numChannels = outBus.numChannels = 2;
    if constexpr (kDouble) {
        inBus.channelBuffers64 = inPtr;
        outBus.channelBuffers64 = outPtr;
    } else {
        inBus.channelBuffers32 = inPtr;
        outBus.channelBuffers32 = outPtr;
    }
    HostParameterChanges changes;
    changes.Add(3, 0.7);  // a knob moving: one point per block
    ProcessData data;
    data.symbolicSampleSize = setup.symbolicSampleSize;
    data.numSamples = frames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.inputParameterChanges = &changes;

    for (auto _ : state) {
        effect->process(data);
        benchmark::DoNotOptimize(out[0].data());
    }
    state.SetItemsProcessed(state.iterations() * frames);
    effect->setActive(false);
    effect->terminate();
    effect->release();
}

} // namespace

BENCHMARK_TEMPLATE(ProcessBlock, float)->Arg(64)->Arg(512);
BENCHMARK_TEMPLATE(ProcessBlock, double)->Arg(64)->Arg(512);
BENCHMARK_MAIN();
