// SPDX-License-Identifier: GPL-3.0-or-later
// Every format renders the same input the same way every time: whatever an
// instance ran before, the format's activation starts it as a fresh instance
// starts, and a fresh instance starts at its settings instead of gliding there.
#include "effect/KeldraParamIds.h"
#include "host/ClapEffectAdapter.h"
#include "host/HostParameterChanges.h"
#include "tools/OpenedPlugin.h"
#ifdef KELDRA_LV2_BUNDLE_PATH
#include "LV2Instance.h"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;

using Stereo = std::array<std::vector<double>, 2>;
using Settings = std::vector<std::pair<KeldraParamId, double>>; ///< plain values

const Settings kAwayFromDefaults = {{KeldraParamId::kOut, 6.0},      {KeldraParamId::kHighPass, 0.3},
                                    {KeldraParamId::kLowPass, 0.0},  {KeldraParamId::kGainHigh, 0.8},
                                    {KeldraParamId::kGainMid, 0.5},  {KeldraParamId::kGainLow, 0.5},
                                    {KeldraParamId::kOversampling, 1.0}};
const Settings kExtremes = {{KeldraParamId::kOut, 12.0},     {KeldraParamId::kHighPass, 0.96},
                            {KeldraParamId::kLowPass, -0.3}, {KeldraParamId::kGainHigh, 0.0},
                            {KeldraParamId::kGainMid, 0.98}, {KeldraParamId::kGainLow, 1.0},
                            {KeldraParamId::kOversampling, 0.0}};

// Single-precision values, so that both sample sizes get the same input.
Stereo Noise(int frames, double amplitude, std::uint64_t seed)
{
    Stereo s;
    for (std::vector<double>& channel : s)
        for (int i = 0; i < frames; ++i) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            channel.push_back(static_cast<float>(amplitude * (static_cast<double>(seed >> 11) * 0x1p-52 - 1.0)));
        }
    return s;
}

double RmsDb(const Stereo& s, size_t from)
{
    double power = 0.0;
    for (const std::vector<double>& channel : s)
        for (size_t i = from; i < channel.size(); ++i)
            power += channel[i] * channel[i];
    return 10.0 * std::log10(power / static_cast<double>(2 * (s[0].size() - from)));
}

/// One instance of one format, set up at kRate for blocks of kBlock frames.
class Hosted {
public:
    virtual ~Hosted() = default;
    /// Runs `in` in blocks of kBlock frames; `settings` reach the plug-in
    /// with the first block.
    virtual Stereo Render(const Stereo& in, const Settings& settings) = 0;
    /// The format's deactivate and activate, or CLAP's reset.
    virtual void Restart() = 0;
};

/// The VST3 bundle, or the CLAP module, through the host library.
class HostedPlugin : public Hosted {
public:
    HostedPlugin(std::unique_ptr<OpenedPlugin> opened, bool clapReset)
        : mClapReset(clapReset), mOpened(std::move(opened))
    {
    }

    Stereo Render(const Stereo& in, const Settings& settings) override
    {
        PluginInstance& plugin = mOpened->Instance();
        HostParameterChanges changes;
        for (const auto& [id, plain] : settings)
            changes.Add(ToIndex(id), plugin.Controller()->plainParamToNormalized(ToIndex(id), plain));
        Stereo out = in;
        std::vector<float> single[2];
        for (size_t start = 0; start < in[0].size(); start += kBlock, changes.Clear()) {
            const int n = static_cast<int>(std::min<size_t>(kBlock, in[0].size() - start));
            double* wide[2] = {out[0].data() + start, out[1].data() + start};
            if (plugin.Settings().sampleSize == kSample64) {
                EXPECT_EQ(plugin.Process64(wide, wide, n, &changes), kResultOk);
                continue;
            }
            for (int c = 0; c < 2; ++c)
                single[c].assign(wide[c], wide[c] + n);
            float* arrays[2] = {single[0].data(), single[1].data()};
            EXPECT_EQ(plugin.Process32(arrays, arrays, n, &changes), kResultOk);
            for (int c = 0; c < 2; ++c)
                std::copy(single[c].begin(), single[c].end(), wide[c]);
        }
        return out;
    }

    void Restart() override
    {
        PluginInstance& plugin = mOpened->Instance();
        if (mClapReset) {
            const clap_plugin_t* clap = dynamic_cast<ClapEffectAdapter&>(*plugin.Component()).Plugin();
            clap->reset(clap);
            return;
        }
        plugin.Processor()->setProcessing(false);
        plugin.Component()->setActive(false);
        plugin.Component()->setActive(true);
        plugin.Processor()->setProcessing(true);
    }

private:
    const bool mClapReset;
    std::unique_ptr<OpenedPlugin> mOpened;
};

#ifdef KELDRA_LV2_BUNDLE_PATH
/// The LV2 module through its descriptor; the control ports carry the settings.
class HostedLv2 : public Hosted {
public:
    bool Ready() const { return mInstance.Handle() != nullptr; }
    Stereo Render(const Stereo& in, const Settings& settings) override
    {
        for (const auto& [id, plain] : settings)
            mInstance.Control(ToIndex(id)) = static_cast<float>(plain);
        Stereo out = in;
        for (size_t start = 0; start < in[0].size(); start += kBlock) {
            const auto n = static_cast<std::uint32_t>(std::min<size_t>(kBlock, in[0].size() - start));
            const std::vector<float> left(in[0].begin() + start, in[0].begin() + start + n),
                right(in[1].begin() + start, in[1].begin() + start + n);
            const std::vector<float> interleaved = mInstance.Run(left, right, n);
            for (std::uint32_t f = 0; f < 2 * n; ++f)
                out[f % 2][start + f / 2] = interleaved[f];
        }
        return out;
    }
    void Restart() override { mInstance.Reactivate(); }

private:
    LV2Module mModule{KELDRA_LV2_BUNDLE_PATH};
    LV2Instance mInstance{mModule, kRate, kBlock};
};
#endif

struct FormatCase {
    const char* name;
    const char* path; ///< VST3 bundle or CLAP module; none for LV2
    int sampleSize;
    bool clapReset;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.name;
}

class RepeatableRender : public ::testing::TestWithParam<FormatCase> {
protected:
    /// A new instance, set up; nullptr (and a failure) if it cannot be.
    static std::unique_ptr<Hosted> Open()
    {
        const FormatCase& c = GetParam();
#ifdef KELDRA_LV2_BUNDLE_PATH
        if (c.path == nullptr) {
            auto lv2 = std::make_unique<HostedLv2>();
            EXPECT_TRUE(lv2->Ready());
            return lv2->Ready() ? std::move(lv2) : nullptr;
        }
#endif
        std::string error;
        auto opened = OpenedPlugin::Open(c.path, "keldra-tests", error);
        const bool ready = opened && opened->Instance().Setup({kRate, kBlock, c.sampleSize}, error);
        EXPECT_TRUE(ready) << error;
        return ready ? std::make_unique<HostedPlugin>(std::move(opened), c.clapReset) : nullptr;
    }
};

// A second of loud noise at other settings, the format's restart, then a
// second of noise: bit for bit what a fresh instance gives. The histories
// and smoother positions from before made all 96,000 samples differ, by up
// to 3.5.
TEST_P(RepeatableRender, AfterARestartEqualsAFreshInstanceBitForBit)
{
    const Stereo loud = Noise(48000, 0.95, 1), quiet = Noise(48000, 0.5, 2);
    std::unique_ptr<Hosted> used = Open(), fresh = Open();
    ASSERT_TRUE(used && fresh);
    used->Render(loud, kExtremes);
    used->Restart();
    const Stereo again = used->Render(quiet, kAwayFromDefaults), first = fresh->Render(quiet, kAwayFromDefaults);
    long differing = 0;
    double most = 0.0;
    for (int c = 0; c < 2; ++c)
        for (size_t i = 0; i < again[c].size(); ++i)
            if (std::memcmp(&again[c][i], &first[c][i], sizeof(double)) != 0) {
                ++differing;
                most = std::max(most, std::fabs(again[c][i] - first[c][i]));
            }
    EXPECT_EQ(differing, 0) << "by up to " << most;
    EXPECT_GT(RmsDb(first, 0), -20.0); // not silence
}

// The first 100 ms of a fresh instance at settings away from the defaults
// against the same 100 ms from an instance that has run with them for two
// seconds: the glide from full cut made them −13.4 dBFS instead of −5.3.
TEST_P(RepeatableRender, AFreshInstanceStartsAtItsSettings)
{
    const size_t tenth = static_cast<size_t>(kRate / 10);
    const Stereo input = Noise(2 * static_cast<int>(kRate) + static_cast<int>(tenth), 0.3, 3);
    Stereo last;
    for (int c = 0; c < 2; ++c)
        last[c].assign(input[c].end() - static_cast<long>(tenth), input[c].end());
    std::unique_ptr<Hosted> running = Open(), fresh = Open();
    ASSERT_TRUE(running && fresh);
    const double settled = RmsDb(running->Render(input, kAwayFromDefaults), input[0].size() - tenth);
    EXPECT_NEAR(RmsDb(fresh->Render(last, kAwayFromDefaults), 0), settled, 0.5);
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, RepeatableRender,
                         ::testing::Values(FormatCase{"Vst3Float", KELDRA_BUNDLE_PATH, kSample32, false},
                                           FormatCase{"Vst3Double", KELDRA_BUNDLE_PATH, kSample64, false},
                                           FormatCase{"ClapFloat", KELDRA_CLAP_PATH, kSample32, false},
                                           FormatCase{"ClapDouble", KELDRA_CLAP_PATH, kSample64, false},
                                           FormatCase{"ClapResetFloat", KELDRA_CLAP_PATH, kSample32, true},
                                           FormatCase{"ClapResetDouble", KELDRA_CLAP_PATH, kSample64, true}
#ifdef KELDRA_LV2_BUNDLE_PATH
                                           ,
                                           FormatCase{"Lv2Float", nullptr, kSample32, false}
#endif
                                           ),
                         [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

} // namespace
