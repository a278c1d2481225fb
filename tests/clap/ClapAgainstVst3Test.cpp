// SPDX-License-Identifier: GPL-3.0-or-later
// The CLAP and VST3 builds side by side: the same parameters and texts, the
// same sound bit for bit through keldra-render's own rendering, and state
// that moves between them both ways.
#include "ClapTestHost.h"
#include "host/PluginInstance.h"
#include "tools/OfflineRenderer.h"
#include "tools/OpenedPlugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr clap_id kHostBypass = 0x62706173;
constexpr int kParamCount = 8;

std::unique_ptr<OpenedPlugin> Open(const char* path)
{
    std::string error;
    auto opened = OpenedPlugin::Open(path, "keldra-tests", error);
    EXPECT_NE(opened, nullptr) << error;
    return opened;
}

AudioClip RenderThrough(const char* path, const RenderOptions& options, int block, int precision)
{
    auto opened = Open(path);
    if (!opened)
        return {};
    PluginInstance& plugin = opened->Instance();
    std::string error;
    const auto settings = ResolveSettings(plugin, options, error);
    EXPECT_TRUE(settings.has_value()) << error;
    const AudioClip input = MakeDemoSignal(0.25, 48000.0);
    ProcessSettings setup;
    setup.sampleRate = input.rate;
    setup.maxBlock = block;
    setup.sampleSize = precision == 64 ? kSample64 : kSample32;
    setup.processMode = kOffline;
    EXPECT_TRUE(plugin.Setup(setup, error)) << error;
    return RenderClip(plugin, input, block, settings.value_or(std::vector<ResolvedSetting>{}), {});
}

double Plain(PluginInstance& plugin, ParamID id)
{
    return plugin.Controller()->normalizedParamToPlain(id, plugin.Controller()->getParamNormalized(id));
}

} // namespace

TEST(ClapAgainstVst3, ParametersHaveTheSameRangesDefaultsStepsAndTexts)
{
    auto vst3 = Open(KELDRA_BUNDLE_PATH);
    ClapTestHost clap(KELDRA_CLAP_PATH);
    ASSERT_TRUE(vst3 && clap.Ready()) << clap.Error();
    PluginInstance& plugin = vst3->Instance();
    IEditController* controller = plugin.Controller();
    const clap_plugin_params_t& params = clap.Params();
    ASSERT_EQ(params.count(clap.Plugin()), static_cast<uint32_t>(kParamCount + 1));

    for (const ParameterInfo& vst3Info : plugin.Parameters()) {
        if (vst3Info.id == 0x70727374)
            continue; // the preset parameter has no CLAP counterpart
        const uint32_t index = vst3Info.id == kHostBypass ? kParamCount : vst3Info.id;
        clap_param_info_t info{};
        ASSERT_TRUE(params.get_info(clap.Plugin(), index, &info));
        SCOPED_TRACE(info.name);
        EXPECT_EQ(info.id, vst3Info.id);
        EXPECT_EQ(info.name, NarrowText(vst3Info.title));
        EXPECT_EQ((info.flags & CLAP_PARAM_IS_STEPPED) != 0, vst3Info.stepCount > 0);
        EXPECT_EQ((info.flags & CLAP_PARAM_IS_BYPASS) != 0, (vst3Info.flags & ParameterInfo::kIsBypass) != 0);
        EXPECT_NE(info.flags & CLAP_PARAM_IS_AUTOMATABLE, 0u);
        EXPECT_DOUBLE_EQ(info.min_value, controller->normalizedParamToPlain(vst3Info.id, 0.0));
        EXPECT_DOUBLE_EQ(info.max_value, controller->normalizedParamToPlain(vst3Info.id, 1.0));
        EXPECT_DOUBLE_EQ(info.default_value,
                         controller->normalizedParamToPlain(vst3Info.id, vst3Info.defaultNormalizedValue));
        if (info.id == kHostBypass) {
            // VST3 shows the bypass's texts through its string list only.
            char text[16] = {};
            ASSERT_TRUE(params.value_to_text(clap.Plugin(), info.id, 0.0, text, sizeof text));
            EXPECT_STREQ(text, "off");
            ASSERT_TRUE(params.value_to_text(clap.Plugin(), info.id, 1.0, text, sizeof text));
            EXPECT_STREQ(text, "on");
            continue;
        }
        for (double normalized : {0.0, 0.13, 0.4, 0.5, 0.77, 1.0}) {
            char text[128] = {};
            const double plain = controller->normalizedParamToPlain(vst3Info.id, normalized);
            ASSERT_TRUE(params.value_to_text(clap.Plugin(), info.id, plain, text, sizeof text));
            EXPECT_EQ(text, plugin.ValueText(vst3Info.id, normalized)) << "at " << normalized;
        }
    }
}

/// (settings, block, precision)
using RenderCase = std::tuple<int, int, int>;

class ClapRender : public ::testing::TestWithParam<RenderCase> {};

TEST_P(ClapRender, EqualsTheVst3RenderBitForBit)
{
    const auto [which, block, precision] = GetParam();
    RenderOptions options;
    switch (which) {
    case 0: break; // defaults
    case 1: options.settings = {{"OUT", -3.0}, {"HPF", 0.3}, {"GainH", 0.7}, {"LPF", -0.12}}; break;
    case 2:
        options.settings = {{"GainM", 0.9}, {"GainL", 0.15}, {"HPF", 0.9}};
        options.oversampling = 16;
        break;
    case 3:
        options.settings = {{"GainH", 1.0}, {"OUT", 12.0}};
        options.bypass = true;
        break;
    default: options.settings = {{"Bypass", 1.0}, {"GainL", 0.8}}; break;
    }
    const AudioClip vst3 = RenderThrough(KELDRA_BUNDLE_PATH, options, block, precision);
    const AudioClip clap = RenderThrough(KELDRA_CLAP_PATH, options, block, precision);
    ASSERT_EQ(vst3.samples.size(), 24000u);
    ASSERT_EQ(clap.samples.size(), vst3.samples.size());
    EXPECT_EQ(0, std::memcmp(clap.samples.data(), vst3.samples.data(), vst3.samples.size() * sizeof(float)));
}

INSTANTIATE_TEST_SUITE_P(SettingsBlocksAndSampleSizes, ClapRender,
                         ::testing::Combine(::testing::Range(0, 5), ::testing::Values(64, 333, 4096),
                                            ::testing::Values(32, 64)));

TEST(ClapAgainstVst3, StateWrittenByEitherBuildRestoresTheSameValuesInTheOther)
{
    auto vst3 = Open(KELDRA_BUNDLE_PATH);
    ClapTestHost clap(KELDRA_CLAP_PATH);
    ASSERT_TRUE(vst3 && clap.Ready()) << clap.Error();
    PluginInstance& plugin = vst3->Instance();

    // CLAP to VST3: every value and the host bypass arrive, byte for byte.
    const double clapValues[kParamCount] = {-4.5, 0.41, -0.12, 0.8, 0.3, 0.66, 1.0, 1.0};
    ClapTestHost::ParamValues events;
    for (clap_id id = 0; id < kParamCount; ++id)
        events.push_back({id, 0, clapValues[id]});
    events.push_back({kHostBypass, 0, 1.0});
    clap.Flush(events);
    const std::vector<uint8_t> fromClap = clap.Save();
    ASSERT_EQ(fromClap.size(), 68u);
    ASSERT_EQ(plugin.LoadState(fromClap), kResultOk);
    EXPECT_EQ(plugin.SaveState(), fromClap);
    for (clap_id id = 0; id < kParamCount; ++id)
        EXPECT_DOUBLE_EQ(Plain(plugin, id), clapValues[id]) << "parameter " << id;
    EXPECT_EQ(plugin.Controller()->getParamNormalized(kHostBypass), 1.0);

    // VST3 to CLAP, with other values and the host bypass off.
    std::vector<uint8_t> fromVst3 = fromClap;
    const double vst3Values[kParamCount] = {7.25, 0.05, -0.29, 0.1, 0.95, 0.2, 0.0, 0.0};
    for (int i = 0; i < kParamCount; ++i)
        std::memcpy(fromVst3.data() + 8 * i, &vst3Values[i], 8);
    std::fill(fromVst3.begin() + 64, fromVst3.end(), 0);
    ASSERT_EQ(plugin.LoadState(fromVst3), kResultOk);
    ASSERT_EQ(plugin.SaveState(), fromVst3);
    const int rescans = clap.ValueRescans();
    ASSERT_TRUE(clap.Load(plugin.SaveState()));
    EXPECT_EQ(clap.Save(), fromVst3);
    for (clap_id id = 0; id < kParamCount; ++id)
        EXPECT_EQ(clap.Value(id), vst3Values[id]) << "parameter " << id;
    EXPECT_EQ(clap.Value(kHostBypass), 0.0);
    // The host started the load and reads the values itself: no rescan.
    EXPECT_EQ(clap.ValueRescans(), rescans);

}

// Sound, silence, sound: both formats tell the host at the same block that
// the output sleeps (VST3 silence flags, CLAP sleep), only on exact zeros
// (the chain's tests hold the rule), until sound comes back; and the tail.
TEST(ClapAgainstVst3, BothTellTheHostWhenTheOutputSleepsAndNotBefore)
{
    constexpr int kBlock = 512, kSoundBlocks = 20, kSoundAgain = 280;
    auto vst3 = Open(KELDRA_BUNDLE_PATH);
    ClapTestHost clap(KELDRA_CLAP_PATH);
    ASSERT_TRUE(vst3 && clap.Ready()) << clap.Error();
    PluginInstance& plugin = vst3->Instance();
    std::string error;
    ASSERT_TRUE(plugin.Setup({48000.0, kBlock}, error) && clap.Activate(48000.0, kBlock)) << error;
    const auto* tail = static_cast<const clap_plugin_tail_t*>(clap.Plugin()->get_extension(clap.Plugin(), CLAP_EXT_TAIL));
    ASSERT_TRUE(tail != nullptr && tail->get(clap.Plugin()) == 6u * 48000u);
    EXPECT_EQ(plugin.Processor()->getTailSamples(), 6u * 48000u);

    std::vector<float> in(kBlock), out(2 * kBlock);
    float *inputs[2] = {in.data(), in.data()}, *outputs[2] = {out.data(), out.data() + kBlock};
    AudioBusBuffers inBus, outBus;
    inBus.numChannels = outBus.numChannels = 2;
    inBus.channelBuffers32 = inputs;
    outBus.channelBuffers32 = outputs;
    ProcessData data;
    data.numSamples = kBlock;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    int firstFlagged = -1;
    for (int b = 0; b < kSoundAgain + 2; ++b) {
        for (int i = 0; i < kBlock; ++i)
            in[i] = b < kSoundBlocks || b >= kSoundAgain ? static_cast<float>(0.5 * std::sin(0.01 * i)) : 0.0f;
        const bool sleeping = clap.Process(inputs, outputs, nullptr, nullptr, kBlock, {}) == CLAP_PROCESS_SLEEP;
        ASSERT_EQ(plugin.Processor()->process(data), kResultOk);
        ASSERT_EQ(outBus.silenceFlags == 3, sleeping) << b;
        ASSERT_TRUE(!sleeping || std::all_of(out.begin(), out.end(), [](float x) { return x == 0.0f; })) << b;
        // Once flagged, flagged until sound comes back.
        if (sleeping && firstFlagged < 0)
            firstFlagged = b;
        ASSERT_EQ(sleeping, firstFlagged >= 0 && b < kSoundAgain) << b;
    }
    EXPECT_GT(firstFlagged, kSoundBlocks);
}
