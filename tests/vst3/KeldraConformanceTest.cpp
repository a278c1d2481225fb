// SPDX-License-Identifier: GPL-3.0-or-later
// The checks a strict host-side conformance run makes, against the bundle:
// consistent buses, a parameter scan, both sample sizes with varying block
// sizes and automation, silence, suspend and resume.
#include "BundleFixture.h"

#include "host/HostParameterChanges.h"

#include <cmath>
#include <random>
#include <set>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// Runs `blocks` process calls of random length (0 to the maximum) with
/// random automation, in the plug-in's set-up sample size. Returns the
/// largest output magnitude; fails the test on a non-finite sample.
double RunRandomBlocks(PluginInstance& plugin, const std::vector<ParameterInfo>& params, int blocks,
                       std::mt19937& random, std::vector<double>& lastValues)
{
    const int max = plugin.Settings().maxBlock;
    const bool use64 = plugin.Settings().sampleSize == kSample64;
    std::vector<std::vector<float>> in32(2, std::vector<float>(max)), out32(2, std::vector<float>(max));
    std::vector<std::vector<double>> in64(2, std::vector<double>(max)), out64(2, std::vector<double>(max));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double peak = 0.0;
    long t = 0;
    for (int b = 0; b < blocks; ++b) {
        const int frames = static_cast<int>(random() % static_cast<unsigned>(max + 1));
        HostParameterChanges changes;
        std::vector<int32> latest(params.size(), -1);
        for (int q = 0; q < 3; ++q) {
            const ParameterInfo& p = params[random() % params.size()];
            if (p.flags & ParameterInfo::kIsProgramChange)
                continue;
            const double value = unit(random);
            const int32 offset = frames > 0 ? static_cast<int32>(random() % frames) : 0;
            changes.Add(p.id, value, offset);
            // Each point applies at its own sample: the latest one holds.
            const auto index = static_cast<size_t>(&p - params.data());
            if (offset >= latest[index]) {
                latest[index] = offset;
                lastValues[index] = value;
            }
        }
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < frames; ++i) {
                in32[c][i] = static_cast<float>(0.5 * std::sin(0.013 * (t + i) * (c + 1)));
                in64[c][i] = in32[c][i];
            }
        float* i32[2] = {in32[0].data(), in32[1].data()};
        float* o32[2] = {out32[0].data(), out32[1].data()};
        double* i64[2] = {in64[0].data(), in64[1].data()};
        double* o64[2] = {out64[0].data(), out64[1].data()};
        const tresult result =
            use64 ? plugin.Process64(i64, o64, frames, &changes) : plugin.Process32(i32, o32, frames, &changes);
        EXPECT_EQ(result, kResultOk);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < frames; ++i) {
                const double s = use64 ? out64[c][i] : out32[c][i];
                if (!std::isfinite(s)) {
                    ADD_FAILURE() << "non-finite output in block " << b << " frame " << i;
                    return peak;
                }
                peak = std::max(peak, std::fabs(s));
            }
        t += frames;
    }
    return peak;
}

} // namespace

TEST_F(BundleTest, BusesAgreeWithTheirArrangements)
{
    for (BusDirection dir : {kInput, kOutput}) {
        ASSERT_EQ(plugin->Component()->getBusCount(kAudio, dir), 1);
        EXPECT_EQ(plugin->Component()->getBusCount(kEvent, dir), 0);
        BusInfo info{};
        ASSERT_EQ(plugin->Component()->getBusInfo(kAudio, dir, 0, info), kResultOk);
        SpeakerArrangement arrangement = 0;
        ASSERT_EQ(plugin->Processor()->getBusArrangement(dir, 0, arrangement), kResultOk);
        EXPECT_EQ(info.channelCount, __builtin_popcountll(arrangement));
        EXPECT_EQ(info.busType, kMain);
        EXPECT_EQ(plugin->Component()->getBusInfo(kAudio, dir, 1, info), kInvalidArgument);
    }
}

TEST_F(BundleTest, ParameterScanGivesUniqueIdsAndTextsThatReadBack)
{
    IEditController* c = plugin->Controller();
    const auto params = plugin->Parameters();
    std::set<ParamID> ids;
    for (const ParameterInfo& p : params) {
        EXPECT_TRUE(ids.insert(p.id).second) << "duplicate id " << p.id;
        EXPECT_NE(p.title[0], 0) << "parameter " << p.id << " has no title";
        EXPECT_GE(p.defaultNormalizedValue, 0.0);
        EXPECT_LE(p.defaultNormalizedValue, 1.0);
        EXPECT_GE(p.stepCount, 0);
        if (p.id >= 8 || p.stepCount != 0)
            continue;
        for (double v : {0.0, 0.1, 0.37, 0.5, 0.93, 1.0}) {
            String128 text{};
            ASSERT_EQ(c->getParamStringByValue(p.id, v, text), kResultOk);
            ParamValue back = -1.0;
            ASSERT_EQ(c->getParamValueByString(p.id, text, back), kResultOk);
            // The text reads back to a position within a step (0.01) of the value.
            EXPECT_NEAR(c->normalizedParamToPlain(p.id, back), c->normalizedParamToPlain(p.id, v), 0.0101)
                << NarrowText(p.title) << " at " << v;
        }
    }
}

TEST_F(BundleTest, BothSampleSizesSurviveVaryingBlocksAndAutomation)
{
    const auto params = plugin->Parameters();
    for (int sampleSize : {kSample32, kSample64}) {
        SCOPED_TRACE(sampleSize);
        std::string error;
        ProcessSettings settings;
        settings.sampleSize = sampleSize;
        settings.maxBlock = 333;
        ASSERT_TRUE(plugin->Setup(settings, error)) << error;
        std::mt19937 random(1234);
        std::vector<double> last(params.size(), -1.0);
        RunRandomBlocks(*plugin, params, 300, random, last);
        for (size_t i = 0; i < params.size(); ++i) {
            if (last[i] < 0.0 || params[i].id >= 8)
                continue;
            // The record keeps the latest point; stepped kinds round it.
            const double plain = plugin->Controller()->normalizedParamToPlain(params[i].id, last[i]);
            const double now = plugin->Controller()->normalizedParamToPlain(
                params[i].id, plugin->Controller()->getParamNormalized(params[i].id));
            EXPECT_NEAR(now, params[i].stepCount ? std::floor(plain + 0.5) : plain, 1e-9) << i;
        }
    }
}

TEST_F(BundleTest, SilenceInGivesSilenceOutAfterSuspendAndResume)
{
    std::string error;
    ProcessSettings settings;
    settings.maxBlock = 256;
    ASSERT_TRUE(plugin->Setup(settings, error)) << error;
    std::vector<std::vector<float>> loud(2, std::vector<float>(256)), out(2, std::vector<float>(256));
    for (int i = 0; i < 256; ++i)
        loud[0][i] = loud[1][i] = static_cast<float>(0.9 * std::sin(0.05 * i));
    float* in[2] = {loud[0].data(), loud[1].data()};
    float* o[2] = {out[0].data(), out[1].data()};
    for (int b = 0; b < 20; ++b)
        plugin->Process32(in, o, 256);

    // Suspend, change rate and block size, resume.
    settings.sampleRate = 44100.0;
    settings.maxBlock = 128;
    ASSERT_TRUE(plugin->Setup(settings, error)) << error;
    // The circuit's coupling keeps a slow tail (a time constant near half a
    // second); after eight seconds of silence nothing audible may remain.
    std::vector<std::vector<float>> zero(2, std::vector<float>(128, 0.0f));
    float* silent[2] = {zero[0].data(), zero[1].data()};
    const int blocksPerSecond = 44100 / 128;
    double peak = 0.0;
    for (int b = 0; b < blocksPerSecond * 8; ++b) {
        plugin->Process32(silent, o, 128);
        if (b >= blocksPerSecond * 7)
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < 128; ++i)
                    peak = std::max(peak, static_cast<double>(std::fabs(out[c][i])));
    }
    EXPECT_LT(peak, 1e-6);
}
