// SPDX-License-Identifier: GPL-3.0-or-later
// Every format renders the same input the same way every time: whatever an
// instance ran before, the format's activation starts it as a fresh instance
// starts, and a fresh instance starts at its settings rather than gliding
// towards them. Through each format's real entry points, in each sample size.
#include "effect/KeldraParamIds.h"
#include "host/ClapEffectAdapter.h"
#include "host/HostParameterChanges.h"
#include "host/PluginInstance.h"
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
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;

using Stereo = std::array<std::vector<double>, 2>;

struct Setting {
    KeldraParamId id;
    double plain;
};
using Settings = std::vector<Setting>;

// Every knob away from where a session left it: GainH 0.8, HPF 0.3, OUT
// +6 dB, 16x.
const Settings kAwayFromDefaults = {
    {KeldraParamId::kOut, 6.0},     {KeldraParamId::kHighPass, 0.3}, {KeldraParamId::kLowPass, 0.0},
    {KeldraParamId::kGainHigh, 0.8}, {KeldraParamId::kGainMid, 0.5}, {KeldraParamId::kGainLow, 0.5},
    {KeldraParamId::kOversampling, 1.0}};
// What the previous audio ran with: every band at an end, 4x.
const Settings kExtremes = {
    {KeldraParamId::kOut, 12.0},     {KeldraParamId::kHighPass, 0.96}, {KeldraParamId::kLowPass, -0.3},
    {KeldraParamId::kGainHigh, 0.0}, {KeldraParamId::kGainMid, 0.98}, {KeldraParamId::kGainLow, 1.0},
    {KeldraParamId::kOversampling, 0.0}};

Stereo Noise(int frames, double amplitude, std::uint64_t seed)
{
    Stereo s;
    for (std::vector<double>& channel : s) {
        channel.resize(static_cast<size_t>(frames));
        for (double& x : channel) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            // Exactly representable in single precision, so both sample sizes
            // get the same input.
            x = static_cast<float>(amplitude * (static_cast<double>(seed >> 11) / 9007199254740992.0 * 2.0 - 1.0));
        }
    }
    return s;
}

Stereo Tail(const Stereo& s, int frames)
{
    Stereo tail;
    for (int c = 0; c < 2; ++c)
        tail[c].assign(s[c].end() - frames, s[c].end());
    return tail;
}

double RmsDb(const Stereo& s, int from)
{
    double power = 0.0;
    long count = 0;
    for (const std::vector<double>& channel : s)
        for (size_t i = static_cast<size_t>(from); i < channel.size(); ++i, ++count)
            power += channel[i] * channel[i];
    return 10.0 * std::log10(power / static_cast<double>(count));
}

struct Difference {
    long samples = 0;    ///< that differ in any bit
    double most = 0.0;   ///< largest magnitude of a difference
};

Difference Compare(const Stereo& a, const Stereo& b)
{
    Difference d;
    for (int c = 0; c < 2; ++c)
        for (size_t i = 0; i < a[c].size(); ++i)
            if (std::memcmp(&a[c][i], &b[c][i], sizeof(double)) != 0) {
                ++d.samples;
                d.most = std::max(d.most, std::fabs(a[c][i] - b[c][i]));
            }
    return d;
}

// ---- the formats, as hosts drive them -----------------------------------------------

enum class Format { kVst3, kClap, kLv2 };
enum class RestartBy { kActivation, kClapReset };

/// One instance of one format, set up at kRate for blocks of kBlock frames.
class HostedInstance {
public:
    virtual ~HostedInstance() = default;
    virtual bool Ready() const = 0;
    /// Runs `in` in blocks of kBlock frames; `settings` reach the plug-in
    /// with the first block, as a host's automation or restored session does.
    virtual Stereo Render(const Stereo& in, const Settings& settings) = 0;
    /// The format's way of starting again: deactivate and activate, or reset.
    virtual void Restart() = 0;
    /// The host stops and restarts processing without deactivating; false
    /// when the format has no such call.
    virtual bool PauseProcessing() = 0;
};

/// VST3 bundles and CLAP modules through the host library.
class PluginRun : public HostedInstance {
public:
    PluginRun(const char* path, int sampleSize, RestartBy restart) : mSampleSize(sampleSize), mRestart(restart)
    {
        std::string error;
        mOpened = OpenedPlugin::Open(path, "keldra-tests", error);
        ProcessSettings setup;
        setup.sampleRate = kRate;
        setup.maxBlock = kBlock;
        setup.sampleSize = sampleSize;
        if (mOpened && !mOpened->Instance().Setup(setup, error))
            mOpened.reset();
        EXPECT_NE(mOpened, nullptr) << error;
    }
    bool Ready() const override { return mOpened != nullptr; }

    Stereo Render(const Stereo& in, const Settings& settings) override
    {
        PluginInstance& plugin = mOpened->Instance();
        HostParameterChanges changes;
        for (const Setting& s : settings)
            changes.Add(ToIndex(s.id), plugin.Controller()->plainParamToNormalized(ToIndex(s.id), s.plain));
        Stereo out = in;
        for (size_t start = 0; start < in[0].size(); start += kBlock) {
            const int n = static_cast<int>(std::min<size_t>(kBlock, in[0].size() - start));
            if (mSampleSize == kSample64)
                Block<double>(out, start, n, &changes);
            else
                Block<float>(out, start, n, &changes);
            changes.Clear();
        }
        return out;
    }

    void Restart() override
    {
        PluginInstance& plugin = mOpened->Instance();
        if (mRestart == RestartBy::kClapReset) {
            const clap_plugin_t* clap = dynamic_cast<ClapEffectAdapter&>(*plugin.Component()).Plugin();
            clap->reset(clap);
            return;
        }
        plugin.Processor()->setProcessing(false);
        plugin.Component()->setActive(false);
        plugin.Component()->setActive(true);
        plugin.Processor()->setProcessing(true);
    }

    bool PauseProcessing() override
    {
        mOpened->Instance().Processor()->setProcessing(false);
        mOpened->Instance().Processor()->setProcessing(true);
        return true;
    }

private:
    template <class Sample>
    void Block(Stereo& io, size_t start, int n, IParameterChanges* changes)
    {
        std::vector<Sample> block[2];
        Sample* arrays[2];
        for (int c = 0; c < 2; ++c) {
            block[c].assign(io[c].begin() + start, io[c].begin() + start + n);
            arrays[c] = block[c].data();
        }
        PluginInstance& plugin = mOpened->Instance();
        if constexpr (sizeof(Sample) == sizeof(double))
            EXPECT_EQ(plugin.Process64(arrays, arrays, n, changes), kResultOk);
        else
            EXPECT_EQ(plugin.Process32(arrays, arrays, n, changes), kResultOk);
        for (int c = 0; c < 2; ++c)
            std::copy(block[c].begin(), block[c].end(), io[c].begin() + start);
    }

    const int mSampleSize;
    const RestartBy mRestart;
    std::unique_ptr<OpenedPlugin> mOpened;
};

#ifdef KELDRA_LV2_BUNDLE_PATH
/// The LV2 module through its descriptor; control ports carry the settings.
class Lv2Run : public HostedInstance {
public:
    bool Ready() const override { return mInstance.Handle() != nullptr; }

    Stereo Render(const Stereo& in, const Settings& settings) override
    {
        for (const Setting& s : settings)
            mInstance.Control(ToIndex(s.id)) = static_cast<float>(s.plain);
        Stereo out = in;
        std::vector<float> left, right;
        for (size_t start = 0; start < in[0].size(); start += kBlock) {
            const auto n = static_cast<std::uint32_t>(std::min<size_t>(kBlock, in[0].size() - start));
            left.assign(in[0].begin() + start, in[0].begin() + start + n);
            right.assign(in[1].begin() + start, in[1].begin() + start + n);
            const std::vector<float> interleaved = mInstance.Run(left, right, n);
            for (std::uint32_t f = 0; f < n; ++f) {
                out[0][start + f] = interleaved[2 * f];
                out[1][start + f] = interleaved[2 * f + 1];
            }
        }
        return out;
    }

    void Restart() override { mInstance.Reactivate(); }
    bool PauseProcessing() override { return false; }

private:
    LV2Module mModule{KELDRA_LV2_BUNDLE_PATH};
    LV2Instance mInstance{mModule, kRate, kBlock};
};
#endif

struct FormatCase {
    const char* name;
    Format format;
    int sampleSize;
    RestartBy restart;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.name;
}

std::unique_ptr<HostedInstance> Open(const FormatCase& c)
{
    switch (c.format) {
    case Format::kVst3:
        return std::make_unique<PluginRun>(KELDRA_BUNDLE_PATH, c.sampleSize, c.restart);
    case Format::kClap:
        return std::make_unique<PluginRun>(KELDRA_CLAP_PATH, c.sampleSize, c.restart);
    case Format::kLv2:
#ifdef KELDRA_LV2_BUNDLE_PATH
        return std::make_unique<Lv2Run>();
#endif
        break;
    }
    return nullptr;
}

class RepeatableRender : public ::testing::TestWithParam<FormatCase> {
protected:
    std::unique_ptr<HostedInstance> OpenReady()
    {
        std::unique_ptr<HostedInstance> instance = Open(GetParam());
        EXPECT_TRUE(instance && instance->Ready());
        return instance && instance->Ready() ? std::move(instance) : nullptr;
    }
};

// A second of loud noise at other settings, then the format's restart, then
// a second of noise at new settings: bit for bit what a fresh instance gives.
// The sections' histories from before made the two differ by up to 1.29, and
// the smoothers glided from the old settings; a pause in processing keeps all.
TEST_P(RepeatableRender, AfterARestartEqualsAFreshInstanceBitForBit)
{
    const Stereo loud = Noise(48000, 0.95, 1), quiet = Noise(48000, 0.5, 2);
    std::unique_ptr<HostedInstance> used = OpenReady(), fresh = OpenReady();
    ASSERT_TRUE(used && fresh);
    used->Render(loud, kExtremes);
    used->Restart();
    const Stereo again = used->Render(quiet, kAwayFromDefaults);
    const Stereo first = fresh->Render(quiet, kAwayFromDefaults);
    const Difference apart = Compare(again, first);
    RecordProperty("max_difference_after_restart", std::to_string(apart.most));
    EXPECT_EQ(apart.samples, 0) << "by up to " << apart.most;
    EXPECT_GT(RmsDb(first, 0), -20.0); // the renders are not silence

    // A processing pause without deactivation is not a restart: the run goes
    // on as if uninterrupted.
    std::unique_ptr<HostedInstance> paused = OpenReady(), straight = OpenReady();
    ASSERT_TRUE(paused && straight);
    paused->Render(loud, kExtremes);
    straight->Render(loud, kExtremes);
    if (!paused->PauseProcessing())
        return;
    const Stereo goesOn = paused->Render(quiet, kAwayFromDefaults);
    EXPECT_EQ(Compare(goesOn, straight->Render(quiet, kAwayFromDefaults)).samples, 0);
    EXPECT_GT(Compare(goesOn, first).samples, 0);
}

// A fresh instance's first 100 ms, at settings away from the defaults, are
// as loud as an instance that has run with them for two seconds; the glide
// from full cut made them 8 dB low.
TEST_P(RepeatableRender, AFreshInstanceStartsAtItsSettings)
{
    const int tenth = static_cast<int>(kRate / 10);
    const Stereo input = Noise(2 * static_cast<int>(kRate) + tenth, 0.3, 3);
    std::unique_ptr<HostedInstance> running = OpenReady(), fresh = OpenReady();
    ASSERT_TRUE(running && fresh);
    const Stereo settled = running->Render(input, kAwayFromDefaults);
    const Stereo started = fresh->Render(Tail(input, tenth), kAwayFromDefaults);
    const double settledDb = RmsDb(settled, static_cast<int>(settled[0].size()) - tenth);
    const double startedDb = RmsDb(started, 0);
    RecordProperty("first_100ms_dbfs", std::to_string(startedDb));
    RecordProperty("settled_dbfs", std::to_string(settledDb));
    EXPECT_NEAR(startedDb, settledDb, 0.5);
}

std::string CaseName(const ::testing::TestParamInfo<FormatCase>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, RepeatableRender,
    ::testing::Values(FormatCase{"Vst3Float", Format::kVst3, kSample32, RestartBy::kActivation},
                      FormatCase{"Vst3Double", Format::kVst3, kSample64, RestartBy::kActivation},
                      FormatCase{"ClapFloat", Format::kClap, kSample32, RestartBy::kActivation},
                      FormatCase{"ClapDouble", Format::kClap, kSample64, RestartBy::kActivation},
                      FormatCase{"ClapResetFloat", Format::kClap, kSample32, RestartBy::kClapReset},
                      FormatCase{"ClapResetDouble", Format::kClap, kSample64, RestartBy::kClapReset}
#ifdef KELDRA_LV2_BUNDLE_PATH
                      ,
                      FormatCase{"Lv2Float", Format::kLv2, kSample32, RestartBy::kActivation}
#endif
                      ),
    CaseName);

} // namespace
