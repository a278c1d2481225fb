// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 module loaded as an LV2 host loads it, held against the VST3
// bundle: one sound, one state, one host bypass across the two formats.
#include "LV2Instance.h"

#include "AllocationCounter.h"
#include "framework/BypassFade.h"
#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/HostParameterChanges.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"

#include <lv2/atom/atom.h>
#include <lv2/state/state.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using Steinberg::kResultOk;

namespace {

constexpr int kOut = 0;
constexpr int kHighPass = 1;
constexpr int kGainHigh = 3;
constexpr int kGainLow = 5;
constexpr int kOversampling = 7;
constexpr Steinberg::Vst::ParamID kHostBypassId = 0x62706173;

// A loud two-tone signal that drives the waveshaper, one tone per channel.
std::vector<float> Tone(double hz, std::size_t frames)
{
    std::vector<float> samples(frames);
    for (std::size_t i = 0; i < frames; ++i)
        samples[i] = static_cast<float>(0.8 * std::sin(2.0 * M_PI * hz * static_cast<double>(i) / 48000.0));
    return samples;
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

class KeldraLV2Test : public ::testing::Test {
protected:
    static constexpr std::uint32_t kBlock = 256;

    void SetUp() override
    {
        ASSERT_NE(lv2.Descriptor(), nullptr) << "cannot load " << KELDRA_LV2_BUNDLE_PATH;
        std::string error;
        vst3Module = PluginModule::Load(KELDRA_BUNDLE_PATH, error);
        ASSERT_NE(vst3Module, nullptr) << error;
        vst3 = PluginInstance::Create(*vst3Module, app, handler, error);
        ASSERT_NE(vst3, nullptr) << error;
        ASSERT_TRUE(vst3->Setup(ProcessSettings{}, error)) << error;
    }

    // One block of `left`/`right` starting at `offset` through the VST3
    // bundle, interleaved, with `changes` at its start.
    std::vector<float> RunVst3(std::size_t offset, HostParameterChanges* changes = nullptr)
    {
        std::vector<float> outL(kBlock), outR(kBlock);
        float* in[2] = {left.data() + offset, right.data() + offset};
        float* out[2] = {outL.data(), outR.data()};
        EXPECT_EQ(vst3->Process32(in, out, kBlock, changes), kResultOk);
        std::vector<float> interleaved;
        for (std::uint32_t f = 0; f < kBlock; ++f) {
            interleaved.push_back(outL[f]);
            interleaved.push_back(outR[f]);
        }
        return interleaved;
    }

    std::vector<float> RunLv2(LV2Instance& instance, std::size_t offset, std::uint32_t frames = kBlock)
    {
        const std::vector<float> l(left.begin() + static_cast<long>(offset), left.end());
        const std::vector<float> r(right.begin() + static_cast<long>(offset), right.end());
        return instance.Run(l, r, frames);
    }

    std::vector<float> left = Tone(997.0, 16 * kBlock);
    std::vector<float> right = Tone(220.0, 16 * kBlock);
    LV2Module lv2{KELDRA_LV2_BUNDLE_PATH};
    HostApplication app{"KELDRA LV2 test"};
    HostComponentHandler handler;
    std::unique_ptr<PluginModule> vst3Module;
    std::unique_ptr<PluginInstance> vst3;
};

TEST_F(KeldraLV2Test, StateChunkMovesBetweenFormatsBitExactly)
{
    LV2Instance source(lv2);
    ASSERT_NE(source.Handle(), nullptr);
    source.Control(kOut) = 3.3f;
    source.Control(kHighPass) = 0.4f;
    source.Control(kGainHigh) = 0.71f;
    source.Control(kOversampling) = 1.0f;
    RunLv2(source, 0);
    std::string type;
    const std::vector<std::uint8_t> chunk = source.SaveState(type);
    ASSERT_EQ(chunk.size(), 68u);
    EXPECT_EQ(type, LV2_ATOM__Chunk);

    // The VST3 build takes the chunk and saves it back unchanged ...
    ASSERT_EQ(vst3->LoadState(chunk), kResultOk);
    const std::vector<std::uint8_t> fromVst3 = vst3->SaveState();
    EXPECT_EQ(fromVst3, chunk);

    // ... and an LV2 instance restored from the VST3 chunk sounds as the
    // VST3 build does from there on, though its ports still show the defaults.
    LV2Instance restored(lv2);
    ASSERT_EQ(restored.RestoreState(fromVst3, LV2_ATOM__Chunk), LV2_STATE_SUCCESS);
    for (std::size_t block = 1; block < 4; ++block)
        EXPECT_TRUE(SameBits(RunLv2(restored, block * kBlock), RunVst3(block * kBlock))) << "block " << block;
    EXPECT_EQ(restored.SaveState(type), chunk);

    // A chunk too short for the values or of another type changes nothing.
    EXPECT_NE(restored.RestoreState(std::vector<std::uint8_t>(chunk.begin(), chunk.begin() + 60), LV2_ATOM__Chunk),
              LV2_STATE_SUCCESS);
    EXPECT_NE(restored.RestoreState(chunk, LV2_ATOM__String), LV2_STATE_SUCCESS);
    EXPECT_EQ(restored.SaveState(type), chunk);
}

TEST_F(KeldraLV2Test, ControlPortsAreParameterChangesAtTheBlockStart)
{
    LV2Instance plugin(lv2);
    ASSERT_NE(plugin.Handle(), nullptr);
    // Each step: what the LV2 host writes to its ports, and the same change
    // as a VST3 host sends it (normalised, at offset 0).
    struct Step {
        int control;
        float plain;
        double normalized; // NaN: the VST3 host sends nothing
    };
    const double none = std::numeric_limits<double>::quiet_NaN();
    const Step steps[] = {
        {kOut, -6.0f, 0.3},
        {kGainLow, 0.8f, static_cast<double>(0.8f)},
        {kOut, std::numeric_limits<float>::quiet_NaN(), none}, // refused: OUT stays -6
        {kOut, 100.0f, 1.0},                                   // clamped to 15 dB
        {kOversampling, 0.7f, 1.0},                            // snapped to the 16x step
        {kHighPass, -std::numeric_limits<float>::infinity(), none},
    };
    std::size_t offset = 0;
    EXPECT_TRUE(SameBits(RunLv2(plugin, offset), RunVst3(offset)));
    for (const Step& step : steps) {
        offset += kBlock;
        plugin.Control(step.control) = step.plain;
        HostParameterChanges changes;
        if (!std::isnan(step.normalized))
            changes.Add(static_cast<Steinberg::Vst::ParamID>(step.control), step.normalized);
        EXPECT_TRUE(SameBits(RunLv2(plugin, offset), RunVst3(offset, &changes)))
            << "control " << step.control << " = " << step.plain;
    }
}

TEST_F(KeldraLV2Test, HostBypassPassesTheInputAndLeavesAsTheVst3BypassDoes)
{
    LV2Instance plugin(lv2);
    ASSERT_NE(plugin.Handle(), nullptr);
    plugin.Control(kGainHigh) = 1.0f;
    plugin.Control(kOut) = 10.0f;
    HostParameterChanges settings;
    settings.Add(kGainHigh, 1.0);
    settings.Add(kOut, 25.0 / 30.0);
    EXPECT_TRUE(SameBits(RunLv2(plugin, 0), RunVst3(0, &settings)));

    // Bypassed, in place as hosts may run it: once faded, the output is the input.
    plugin.Enabled() = 0.0f;
    const std::vector<float> l(left.begin() + kBlock, left.end());
    const std::vector<float> r(right.begin() + kBlock, right.end());
    const std::vector<float> bypassed = plugin.Run(l, r, kBlock, true);
    const auto faded = static_cast<std::uint32_t>(std::lround(BypassFade::kSeconds * 48000.0));
    ASSERT_LT(faded, kBlock);
    for (std::uint32_t f = faded; f < kBlock; ++f) {
        ASSERT_EQ(bypassed[2 * f], l[f]) << "frame " << f;
        ASSERT_EQ(bypassed[2 * f + 1], r[f]) << "frame " << f;
    }
    HostParameterChanges bypassOn;
    bypassOn.Add(kHostBypassId, 1.0);
    RunVst3(kBlock, &bypassOn);

    // Leaving it: the chain ran on, exactly as in the VST3 build.
    plugin.Enabled() = 1.0f;
    HostParameterChanges bypassOff;
    bypassOff.Add(kHostBypassId, 0.0);
    EXPECT_TRUE(SameBits(RunLv2(plugin, 2 * kBlock), RunVst3(2 * kBlock, &bypassOff)));
    EXPECT_TRUE(SameBits(RunLv2(plugin, 3 * kBlock), RunVst3(3 * kBlock)));
}

TEST_F(KeldraLV2Test, AnyBlockLengthSoundsTheSame)
{
    // Rate refused: no instance, no crash.
    EXPECT_EQ(LV2Instance(lv2, 0.0).Handle(), nullptr);
    EXPECT_EQ(LV2Instance(lv2, std::numeric_limits<double>::infinity()).Handle(), nullptr);

    // Announced 64-frame blocks, then longer ones and empty ones; the host
    // that announces nothing runs short pieces.
    LV2Instance announced(lv2, 48000.0, 64);
    LV2Instance pieces(lv2, 48000.0, 0);
    ASSERT_NE(announced.Handle(), nullptr);
    ASSERT_NE(pieces.Handle(), nullptr);
    announced.Control(kOversampling) = 1.0f;
    pieces.Control(kOversampling) = 1.0f;
    EXPECT_TRUE(RunLv2(announced, 0, 0).empty());
    const std::vector<float> whole = RunLv2(announced, 0, 1000);
    std::vector<float> joined;
    for (std::uint32_t offset = 0; offset < 1000; offset += 100) {
        const std::vector<float> part = RunLv2(pieces, offset, 100);
        joined.insert(joined.end(), part.begin(), part.end());
        RunLv2(pieces, offset, 0);
    }
    EXPECT_TRUE(SameBits(whole, joined));
}

TEST_F(KeldraLV2Test, RunAllocatesNothing)
{
    LV2Instance plugin(lv2, 48000.0, 64);
    ASSERT_NE(plugin.Handle(), nullptr);
    RunLv2(plugin, 0, 200); // connects the buffers
    AllocationCounter counter;
    for (int i = 0; i < 4; ++i) {
        plugin.Control(kOut) = static_cast<float>(i);
        plugin.Control(kOversampling) = static_cast<float>(i % 2);
        plugin.Enabled() = static_cast<float>(i / 2);
        lv2.Descriptor()->run(plugin.Handle(), 200);
        lv2.Descriptor()->run(plugin.Handle(), 0);
    }
    EXPECT_EQ(counter.Count(), 0);
}

} // namespace
