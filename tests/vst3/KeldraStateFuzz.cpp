// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry point for restoring KELDRA's state: any stream handed to
// the component's and the controller's setState must leave every parameter
// inside its range and, for stepped ones, on a step, and the next block of
// audio must be finite. The sanitizers watch memory and undefined behaviour.
//
// The first byte picks the sample size of the audio block (bit 0) and
// whether the effect is set up before the restore (bit 1); the rest is the
// stream.
#include "effect/KELDRA.h"
#include "host/HostMemoryStream.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kFrames = 64;
constexpr double kStepTolerance = 1e-9;

void Require(bool condition)
{
    if (!condition) std::abort();
}

void SetUp(KELDRA& effect, int32 sampleSize)
{
    ProcessSetup setup{kRealtime, sampleSize, kFrames, 48000.0};
    Require(effect.setupProcessing(setup) == kResultOk);
    effect.setActive(true);
}

void RequireValuesInRangeAndOnStep(KELDRA& effect)
{
    for (int i = 0; i < effect.GetParamCount(); ++i) {
        const IParamRecord& param = *effect.GetParam(i);
        const double value = param.Value();
        Require(std::isfinite(value) && value >= param.Min() && value <= param.Max());
        if (param.IsStepped()) {
            const double steps = value / param.Step();
            Require(std::fabs(steps - std::round(steps)) < kStepTolerance);
        }
        const double normalized = effect.getParamNormalized(static_cast<ParamID>(i));
        Require(normalized >= 0.0 && normalized <= 1.0);
    }
    const double bypass = effect.getParamNormalized(IEffectVST3::kBypassParamId);
    Require(bypass == 0.0 || bypass == 1.0);
}

template <typename Sample>
void ProcessOneBlock(KELDRA& effect)
{
    std::vector<Sample> in[2] = {std::vector<Sample>(kFrames), std::vector<Sample>(kFrames)};
    std::vector<Sample> out[2] = {std::vector<Sample>(kFrames), std::vector<Sample>(kFrames)};
    for (int i = 0; i < kFrames; ++i) {
        in[0][i] = Sample(0.5 * std::sin(0.05 * i));
        in[1][i] = Sample(0.25 * std::cos(0.011 * i));
    }
    Sample* inPtr[2] = {in[0].data(), in[1].data()};
    Sample* outPtr[2] = {out[0].data(), out[1].data()};
    AudioBusBuffers inBus, outBus;
    inBus.numChannels = outBus.numChannels = 2;
    ProcessData data;
    if constexpr (sizeof(Sample) == sizeof(double)) {
        inBus.channelBuffers64 = inPtr;
        outBus.channelBuffers64 = outPtr;
        data.symbolicSampleSize = kSample64;
    } else {
        inBus.channelBuffers32 = inPtr;
        outBus.channelBuffers32 = outPtr;
        data.symbolicSampleSize = kSample32;
    }
    data.numSamples = kFrames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    Require(effect.process(data) == kResultOk);
    for (const auto& channel : out)
        for (Sample s : channel)
            Require(std::isfinite(s));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const bool use64 = (data[0] & 1) != 0;
    const bool setUpFirst = (data[0] & 2) != 0;
    const std::vector<uint8_t> stream(data + 1, data + size);

    auto* effect = new KELDRA();
    Require(effect->initialize(nullptr) == kResultOk);
    effect->activateBus(kAudio, kInput, 0, true);
    effect->activateBus(kAudio, kOutput, 0, true);
    const int32 sampleSize = use64 ? kSample64 : kSample32;
    if (setUpFirst) SetUp(*effect, sampleSize);

    HostMemoryStream componentState(stream);
    static_cast<IComponent*>(effect)->setState(&componentState);
    HostMemoryStream controllerState(stream);
    static_cast<IEditController*>(effect)->setState(&controllerState);
    RequireValuesInRangeAndOnStep(*effect);

    if (!setUpFirst) SetUp(*effect, sampleSize);
    if (use64)
        ProcessOneBlock<double>(*effect);
    else
        ProcessOneBlock<float>(*effect);
    RequireValuesInRangeAndOnStep(*effect);

    effect->setActive(false);
    effect->terminate();
    effect->release();
    return 0;
}
