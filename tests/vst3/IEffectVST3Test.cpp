// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProbeEffect.h"
#include "Utf16Text.h"

#include "host/HostMemoryStream.h"
#include "host/HostParameterChanges.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::vector<uint8_t> StateBytes(const std::vector<double>& values, const int32* bypass)
{
    std::vector<uint8_t> bytes(values.size() * 8);
    std::memcpy(bytes.data(), values.data(), bytes.size());
    if (bypass != nullptr)
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32>(*bypass) >> (8 * i)));
    return bytes;
}

} // namespace

TEST(IEffectVST3, BypassQueueNeedsMoreThanHalf)
{
    ProbeHost host;
    HostParameterChanges changes;
    changes.Add(IEffectVST3::kBypassParamId, 0.5);
    Buffers32 half(16);
    half.data.inputParameterChanges = &changes;
    host.effect->process(half.data);
    EXPECT_FALSE(host.effect->IsBypassed());
    EXPECT_EQ(host.effect->getParamNormalized(IEffectVST3::kBypassParamId), 0.0);
    EXPECT_FLOAT_EQ(half.out[0][3], 2.0f * half.in[0][3]);

    changes.Clear();
    changes.Add(IEffectVST3::kBypassParamId, 0.51);
    Buffers32 bypassed(16);
    bypassed.data.inputParameterChanges = &changes;
    host.effect->process(bypassed.data);
    EXPECT_TRUE(host.effect->IsBypassed());
    EXPECT_EQ(host.effect->getParamNormalized(IEffectVST3::kBypassParamId), 1.0);
}

TEST(IEffectVST3, PresetValueOneAsksForAMissingPresetAndChangesNothing)
{
    ProbeHost host;
    HostParameterChanges changes;
    changes.Add(0, 0.8);
    changes.Add(IEffectVST3::kPresetParamId, 1.0);
    Buffers32 b(8);
    b.data.inputParameterChanges = &changes;
    host.effect->process(b.data);
    EXPECT_NEAR(host.effect->GetParam(0)->Value(), 9.0, 1e-9);
    EXPECT_EQ(host.effect->getParamNormalized(IEffectVST3::kPresetParamId), 0.0);

    // Value 0 selects the one preset, which holds the defaults.
    changes.Clear();
    changes.Add(IEffectVST3::kPresetParamId, 0.0);
    host.effect->process(b.data);
    EXPECT_EQ(host.effect->GetParam(0)->Value(), 0.0);
}

TEST(IEffectVST3, UnreadableQueuesUnknownIdsAndNonFiniteValuesAreIgnored)
{
    ProbeHost host;
    HostParameterChanges changes;
    int32 index = 0;
    changes.addParameterData(1, index);  // a queue without points
    changes.Add(99, 0.7);
    changes.Add(0, std::numeric_limits<double>::quiet_NaN());
    changes.Add(IEffectVST3::kPresetParamId, std::numeric_limits<double>::infinity());
    Buffers32 b(8);
    b.data.inputParameterChanges = &changes;
    EXPECT_EQ(host.effect->process(b.data), kResultOk);
    EXPECT_EQ(host.effect->GetParam(0)->Value(), 0.0);
    EXPECT_EQ(host.effect->GetParam(1)->Value(), 0.0);
}

TEST(IEffectVST3, ZeroFrameCallAppliesChangesAndProcessesZeroFrames)
{
    ProbeHost host;
    HostParameterChanges changes;
    changes.Add(1, 0.7);
    Buffers32 b(0);
    b.data.inputParameterChanges = &changes;
    host.effect->blocks.clear();
    EXPECT_EQ(host.effect->process(b.data), kResultOk);
    EXPECT_EQ(host.effect->GetParam(1)->Value(), 1.0);
    EXPECT_EQ(host.effect->changed, std::vector<int>({1}));
    EXPECT_EQ(host.effect->blocks, std::vector<int>({0}));
}

TEST(IEffectVST3, InactiveOutputBusLeavesTheHostArraysUntouched)
{
    ProbeHost host;
    host.effect->activateBus(kAudio, kOutput, 0, false);
    Buffers32 b(16, 123.0f);
    host.effect->process(b.data);
    for (const auto& channel : b.out)
        for (float s : channel)
            EXPECT_EQ(s, 123.0f);
}

TEST(IEffectVST3, InputChannelsTheHostDoesNotSupplyReadSilence)
{
    ProbeHost host;
    Buffers32 stereo(16);
    host.effect->process(stereo.data);
    Buffers32 oneChannel(16);
    oneChannel.inBus.numChannels = 1;
    host.effect->process(oneChannel.data);
    EXPECT_FLOAT_EQ(oneChannel.out[0][5], 2.0f * oneChannel.in[0][5]);
    EXPECT_EQ(oneChannel.out[1], std::vector<float>(16, 0.0f));

    Buffers32 none(16);
    none.data.numInputs = 0;
    host.effect->process(none.data);
    EXPECT_EQ(none.out, std::vector<std::vector<float>>(2, std::vector<float>(16, 0.0f)));
}

namespace {

// One call with input channel 1 unconnected, one with output channel 0
// unconnected, in the sample size of `Sample`.
template <typename Sample>
void ExpectNullInputsSilentAndNullOutputsSkipped()
{
    ProbeHost host(std::is_same_v<Sample, double> ? kSample64 : kSample32);
    HostBuffers<Sample> noInput(16);
    noInput.inPtr[1] = nullptr;
    EXPECT_EQ(host.effect->process(noInput.data), kResultOk);
    EXPECT_EQ(noInput.out[0][5], Sample(2) * noInput.in[0][5]);
    EXPECT_EQ(noInput.out[1], std::vector<Sample>(16, Sample(0)));

    HostBuffers<Sample> noOutput(16);
    noOutput.outPtr[0] = nullptr;
    EXPECT_EQ(host.effect->process(noOutput.data), kResultOk);
    EXPECT_EQ(noOutput.out[0], std::vector<Sample>(16, Sample(-7)));
    EXPECT_EQ(noOutput.out[1][5], Sample(2) * noOutput.in[1][5]);

    host.effect->SetBypassed(true);
    HostBuffers<Sample> bypassed(16);
    bypassed.inPtr[0] = nullptr;
    bypassed.outPtr[1] = nullptr;
    host.effect->process(bypassed.data);
    EXPECT_EQ(bypassed.out[0], std::vector<Sample>(16, Sample(0)));
}

}  // namespace

TEST(IEffectVST3, NullInputArraysReadAsSilenceAndNullOutputArraysAreSkipped)
{
    ExpectNullInputsSilentAndNullOutputsSkipped<float>();
    ExpectNullInputsSilentAndNullOutputsSkipped<double>();
}

TEST(IEffectVST3, EachCallIsReadInTheSampleSizeItDeclares)
{
    // Set up for one size, called with the other: never past the host's arrays.
    ProbeHost setUpFor64(kSample64, 16);
    Buffers32 singles(40);
    EXPECT_EQ(setUpFor64.effect->process(singles.data), kResultOk);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 40; ++i)
            ASSERT_FLOAT_EQ(singles.out[c][i], 2.0f * singles.in[c][i]) << c << " " << i;

    ProbeHost setUpFor32(kSample32, 16);
    Buffers64 doubles(40);
    EXPECT_EQ(setUpFor32.effect->process(doubles.data), kResultOk);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 40; ++i)
            ASSERT_EQ(doubles.out[c][i], 2.0 * doubles.in[c][i]) << c << " " << i;

    // An unknown size names no array type: changes only, no audio touched.
    HostParameterChanges changes;
    changes.Add(2, 0.75);
    Buffers32 unknown(8);
    unknown.data.symbolicSampleSize = 2;
    unknown.data.inputParameterChanges = &changes;
    EXPECT_EQ(setUpFor32.effect->process(unknown.data), kResultOk);
    EXPECT_EQ(setUpFor32.effect->GetParam(2)->Value(), 0.75);
    EXPECT_EQ(unknown.out, std::vector<std::vector<float>>(2, std::vector<float>(8, -7.0f)));

    // With no room for audio at all the call applies its changes and is silent.
    setUpFor32.effect->SetMaxBlockSize(0);
    Buffers32 noRoom(8);
    EXPECT_EQ(setUpFor32.effect->process(noRoom.data), kResultOk);
    EXPECT_EQ(noRoom.out, std::vector<std::vector<float>>(2, std::vector<float>(8, 0.0f)));
}

TEST(IEffectVST3, TheHostBypassSurvivesANewSetup)
{
    ProbeHost host;
    HostParameterChanges changes;
    changes.Add(IEffectVST3::kBypassParamId, 1.0);
    Buffers32 first(16);
    first.data.inputParameterChanges = &changes;
    host.effect->process(first.data);
    ASSERT_TRUE(host.effect->IsBypassed());

    ProcessSetup offline{kOffline, kSample32, 256, 96000.0};
    ASSERT_EQ(host.effect->setupProcessing(offline), kResultOk);
    EXPECT_TRUE(host.effect->IsBypassed());
    EXPECT_EQ(host.effect->getParamNormalized(IEffectVST3::kBypassParamId), 1.0);
    Buffers32 after(16);
    host.effect->process(after.data);
    EXPECT_EQ(after.out, after.in);
}

TEST(IEffectVST3, MoreOutputBusesThanExistAreSkipped)
{
    ProbeHost host;
    Buffers32 b(16);
    std::vector<float> extra(16, 5.0f);
    float* extraPtr[2] = {extra.data(), extra.data()};
    AudioBusBuffers buses[3];
    buses[0] = b.outBus;
    buses[1].numChannels = buses[2].numChannels = 2;
    buses[1].channelBuffers32 = buses[2].channelBuffers32 = extraPtr;
    b.data.numOutputs = 3;
    b.data.outputs = buses;
    EXPECT_EQ(host.effect->process(b.data), kResultOk);
    EXPECT_FLOAT_EQ(b.out[1][5], 2.0f * b.in[1][5]);
    EXPECT_EQ(extra, std::vector<float>(16, 5.0f));
}

TEST(IEffectVST3, SixtyFourBitBuffersAreUsedInPlaceAndANewMaximumIsHonoured)
{
    ProbeHost host(kSample64, 32);
    ProcessSetup bigger{kRealtime, kSample64, 4096, 48000.0};
    ASSERT_EQ(host.effect->setupProcessing(bigger), kResultOk);
    EXPECT_EQ(host.effect->GetBlockSize(), 4096);
    std::vector<double> in(4096), out(4096, 0.0);
    for (int i = 0; i < 4096; ++i)
        in[i] = std::sin(0.01 * i);
    double* inPtr[2] = {in.data(), in.data()};
    double* outPtr[2] = {out.data(), out.data()};
    AudioBusBuffers inBus, outBus;
    inBus.numChannels = outBus.numChannels = 2;
    inBus.channelBuffers64 = inPtr;
    outBus.channelBuffers64 = outPtr;
    ProcessData data;
    data.symbolicSampleSize = kSample64;
    data.numSamples = 4096;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    host.effect->process(data);
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ(out[i], 2.0 * in[i]);
}

TEST(IEffectVST3, ProcessSetupRefusesWhatCannotBeProcessed)
{
    ProbeHost host;
    ProcessSetup wrongSize{kRealtime, 2, 512, 48000.0};
    EXPECT_EQ(host.effect->setupProcessing(wrongSize), kResultFalse);
    ProcessSetup noBlock{kRealtime, kSample32, 0, 48000.0};
    EXPECT_EQ(host.effect->setupProcessing(noBlock), kResultFalse);
    ProcessSetup noRate{kRealtime, kSample32, 512, std::numeric_limits<double>::quiet_NaN()};
    EXPECT_EQ(host.effect->setupProcessing(noRate), kResultFalse);
    EXPECT_EQ(host.effect->GetBlockSize(), 64);
    EXPECT_EQ(host.effect->canProcessSampleSize(kSample32), kResultOk);
    EXPECT_EQ(host.effect->canProcessSampleSize(kSample64), kResultOk);
    EXPECT_EQ(host.effect->canProcessSampleSize(2), kResultFalse);
}

TEST(IEffectVST3, BusArrangementsAcceptOnlyLegalConfigurations)
{
    ProbeHost host;
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    SpeakerArrangement mono = SpeakerArr::kMono;
    EXPECT_EQ(host.effect->setBusArrangements(&stereo, 1, &mono, 1), kResultFalse);

    EXPECT_EQ(host.effect->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
    BusInfo info{};
    host.effect->getBusInfo(kAudio, kInput, 0, info);
    EXPECT_EQ(AsUtf16(info.name), u"Main Input");
    EXPECT_EQ(info.channelCount, 2);

    EXPECT_EQ(host.effect->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    host.effect->getBusInfo(kAudio, kInput, 0, info);
    EXPECT_EQ(AsUtf16(info.name), u"Input");
    EXPECT_EQ(info.channelCount, 1);
    host.effect->getBusInfo(kAudio, kOutput, 0, info);
    EXPECT_EQ(AsUtf16(info.name), u"Output");
    SpeakerArrangement arrangement = 0;
    EXPECT_EQ(host.effect->getBusArrangement(kOutput, 0, arrangement), kResultOk);
    EXPECT_EQ(arrangement, SpeakerArr::kMono);

    EXPECT_EQ(host.effect->setBusArrangements(&mono, 0, &mono, 1), kResultFalse);
    EXPECT_EQ(host.effect->setBusArrangements(nullptr, 1, nullptr, 1), kResultFalse);
}

TEST(IEffectVST3, BusArrangementsBeforeInitializeAreRefused)
{
    auto* effect = new ProbeEffect();
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    EXPECT_EQ(effect->setBusArrangements(&stereo, 1, &stereo, 1), kResultFalse);
    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 0);
    effect->release();
}

TEST(IEffectVST3, MonoProcessingUsesOnlyTheFirstChannel)
{
    ProbeHost host;
    SpeakerArrangement mono = SpeakerArr::kMono;
    ASSERT_EQ(host.effect->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    // The re-created buses start inactive, like every new bus.
    host.effect->activateBus(kAudio, kInput, 0, true);
    host.effect->activateBus(kAudio, kOutput, 0, true);
    Buffers32 b(16);
    b.inBus.numChannels = b.outBus.numChannels = 1;
    host.effect->process(b.data);
    EXPECT_FLOAT_EQ(b.out[0][9], 2.0f * b.in[0][9]);
    EXPECT_EQ(b.out[1], std::vector<float>(16, -7.0f));
}

TEST(IEffectVST3, InitializeIdentifiesTheHostAndLoadsTheFirstPreset)
{
    auto* effect = new ProbeEffect();
    HostApplication ardour("Ardour 7.3");
    effect->setParamNormalized(0, 1.0);
    EXPECT_EQ(effect->GetHostId(), -1);
    EXPECT_EQ(effect->initialize(&ardour), kResultOk);
    EXPECT_EQ(effect->GetHostId(), 28);
    EXPECT_EQ(effect->GetParam(0)->Value(), 0.0);
    EXPECT_EQ(effect->changed, std::vector<int>({0, 1, 2}));
    effect->terminate();
    effect->release();

    auto* anonymous = new ProbeEffect();
    EXPECT_EQ(anonymous->initialize(nullptr), kResultOk);
    EXPECT_EQ(anonymous->GetHostId(), -1);
    anonymous->terminate();
    anonymous->release();
}

TEST(IEffectVST3, NonFiniteAndOutOfRangeStateValuesNeverEnterParameters)
{
    ProbeHost host;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const int32 bypass = 0;
    HostMemoryStream stream(StateBytes({nan, inf, 99.0}, &bypass));
    EXPECT_EQ(host.effect->setControllerState(&stream), kResultOk);
    EXPECT_EQ(host.effect->GetParam(0)->Value(), 0.0);
    EXPECT_EQ(host.effect->GetParam(1)->Value(), 0.0);
    EXPECT_EQ(host.effect->GetParam(2)->Value(), 1.0);

    // The stepped switch lands on a step, as on every other path.
    HostMemoryStream between(StateBytes({0.0, 0.37, 0.5}, &bypass));
    EXPECT_EQ(host.effect->setControllerState(&between), kResultOk);
    EXPECT_EQ(host.effect->GetParam(1)->Value(), 0.0);
    HostMemoryStream half(StateBytes({0.0, 0.5, 0.5}, &bypass));
    EXPECT_EQ(host.effect->setControllerState(&half), kResultOk);
    EXPECT_EQ(host.effect->GetParam(1)->Value(), 1.0);
}

TEST(IEffectVST3, ComponentAndControllerSaveAndRestoreTheSameState)
{
    ProbeHost host;
    host.effect->SetParamFromHost(1, 1.0);
    HostMemoryStream fromComponent;
    HostMemoryStream fromController;
    IComponent* component = host.effect;
    IEditController* controller = host.effect;
    EXPECT_EQ(component->getState(&fromComponent), kResultOk);
    EXPECT_EQ(controller->getState(&fromController), kResultOk);
    EXPECT_EQ(fromComponent.Bytes(), fromController.Bytes());
    host.effect->SetParamFromHost(1, 0.0);
    fromComponent.Rewind();
    EXPECT_EQ(component->setState(&fromComponent), kResultOk);
    EXPECT_EQ(host.effect->GetParam(1)->Value(), 1.0);
    EXPECT_EQ(component->setState(nullptr), kResultFalse);
    EXPECT_EQ(controller->setState(nullptr), kResultFalse);
}

TEST(IEffectVST3, TransportComesFromTheLastProcessContext)
{
    ProbeHost host;
    ProcessContext context{};
    context.tempo = 93.5;
    context.projectTimeSamples = 44100;
    context.timeSigNumerator = 7;
    context.timeSigDenominator = 8;
    context.state = ProcessContext::kPlaying | ProcessContext::kCycleActive;
    Buffers32 b(4);
    b.data.processContext = &context;
    host.effect->process(b.data);
    ITransportInfo info;
    host.effect->GetTransportInfo(info);
    EXPECT_EQ(info.tempo, 93.5);
    EXPECT_EQ(info.samplePosition, 44100.0);
    EXPECT_EQ(info.numerator, 7);
    EXPECT_EQ(info.denominator, 8);
    EXPECT_TRUE(info.transportRunning);
    EXPECT_TRUE(info.loopEnabled);
    EXPECT_EQ(host.effect->GetSamplePosition(), 44100);
    EXPECT_FALSE(host.effect->IsOfflineRender());
}

TEST(IEffectVST3, ASecondInitializeIsRefusedUntilTerminateAndNothingIsPublishedTwice)
{
    auto* effect = new ProbeEffect();
    HostApplication app;
    ASSERT_EQ(effect->initialize(&app), kResultOk);
    EXPECT_EQ(effect->getParameterCount(), 5);
    EXPECT_EQ(effect->initialize(&app), kResultFalse);
    EXPECT_EQ(effect->getParameterCount(), 5);
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 1);

    ASSERT_EQ(effect->terminate(), kResultOk);
    EXPECT_EQ(effect->getParameterCount(), 0);
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 0);
    ASSERT_EQ(effect->initialize(&app), kResultOk);
    EXPECT_EQ(effect->getParameterCount(), 5);
    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(effect->getUnitCount(), 1);
    effect->terminate();
    effect->release();
}
