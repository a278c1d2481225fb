// SPDX-License-Identifier: GPL-3.0-or-later
// One host process call through the binding into KELDRA, in single and double
// precision (queue reading, buffer binding, conversion and the effect), and
// the effect's own ProcessBlock on the same material. Process cases report
// "binding", the share the binding adds: their time over the effect's own
// at the same block size, minus one. The silent cases feed silence, which
// the chain sleeps through from activation on, as it does once a track's
// tail is over.
#include "ThreadClock.h"
#include "effect/KELDRA.h"
#include "host/HostApplication.h"
#include "host/HostParameterChanges.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <mutex>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// The effect's own time per call, by block size, from the same run.
std::map<int, double>& effectSeconds()
{
    static std::map<int, double> seconds;
    return seconds;
}

// An initialised, set-up and active KELDRA; released at the end.
struct Hosted {
    HostApplication app;
    KELDRA* effect = new KELDRA();
    Hosted(int frames, bool use64)
    {
        effect->initialize(&app);
        effect->activateBus(kAudio, kInput, 0, true);
        effect->activateBus(kAudio, kOutput, 0, true);
        ProcessSetup setup{kRealtime, use64 ? kSample64 : kSample32, frames, 48000.0};
        effect->setupProcessing(setup);
        effect->setActive(true);
    }
    ~Hosted()
    {
        effect->setActive(false);
        effect->terminate();
        effect->release();
    }
};

template <typename Sample>
std::vector<std::vector<Sample>> Signal(int frames)
{
    std::vector<std::vector<Sample>> in(2, std::vector<Sample>(frames));
    for (int i = 0; i < frames; ++i)
        in[0][i] = in[1][i] = static_cast<Sample>(0.3 * std::sin(0.02 * i));
    return in;
}

double SecondsPerIteration(const benchmark::State& state, double total)
{
    return total / static_cast<double>(state.iterations());
}

void EffectOnly(benchmark::State& state)
{
    const int frames = static_cast<int>(state.range(0));
    Hosted hosted(frames, true);
    std::vector<std::vector<double>> in = Signal<double>(frames), out = in;
    double* inPtr[2] = {in[0].data(), in[1].data()};
    double* outPtr[2] = {out[0].data(), out[1].data()};
    const int gainHigh = ToIndex(KeldraParamId::kGainHigh);
    hosted.effect->GetParam(gainHigh)->SetFromNormalized(0.7);
    double total = 0.0;
    for (auto _ : state) {
        const auto start = ThreadSeconds();
        // What the binding does besides conversion: lock, apply the point.
        std::lock_guard<std::recursive_mutex> hold(hosted.effect->GetLock());
        hosted.effect->OnParamChanged(gainHigh);
        hosted.effect->ProcessBlock(inPtr, outPtr, frames);
        benchmark::DoNotOptimize(out[0].data());
        total += ThreadSeconds() - start;
    }
    effectSeconds()[frames] = SecondsPerIteration(state, total);
    state.SetItemsProcessed(state.iterations() * frames);
}

template <typename Sample, bool kSilent = false>
void ProcessCall(benchmark::State& state)
{
    constexpr bool kDouble = sizeof(Sample) == sizeof(double);
    const int frames = static_cast<int>(state.range(0));
    Hosted hosted(frames, kDouble);
    std::vector<std::vector<Sample>> in = Signal<Sample>(frames), out = in;
    if (kSilent)
        in.assign(2, std::vector<Sample>(frames, Sample(0)));
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
    changes.Add(ToIndex(KeldraParamId::kGainHigh), 0.7); // a knob automated: one point per block
    ProcessData data;
    data.symbolicSampleSize = kDouble ? kSample64 : kSample32;
    data.numSamples = frames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.inputParameterChanges = &changes;

    double total = 0.0;
    for (auto _ : state) {
        const auto start = ThreadSeconds();
        hosted.effect->process(data);
        benchmark::DoNotOptimize(out[0].data());
        total += ThreadSeconds() - start;
    }
    state.SetItemsProcessed(state.iterations() * frames);
    if (effectSeconds().count(frames) != 0)
        state.counters["binding"] = SecondsPerIteration(state, total) / effectSeconds()[frames] - 1.0;
}

} // namespace

// The effect alone first, so each process case finds its figure.
BENCHMARK(EffectOnly)->Arg(32)->Arg(512);
BENCHMARK_TEMPLATE(ProcessCall, float)->Arg(32)->Arg(512);
BENCHMARK_TEMPLATE(ProcessCall, double)->Arg(32)->Arg(512);
BENCHMARK_TEMPLATE(ProcessCall, float, true)->Arg(32)->Arg(512);
BENCHMARK_TEMPLATE(ProcessCall, double, true)->Arg(32)->Arg(512);
BENCHMARK_MAIN();
