// SPDX-License-Identifier: GPL-3.0-or-later
// What the filters keep when the oversampling factor or the sample rate
// changes under running audio, through the built bundle as a host drives it.
#include "ChainTestSignals.h"
#include "effect/KeldraParamIds.h"
#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/HostParameterChanges.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace chaintest;

using Stereo = std::array<std::vector<double>, 2>;

constexpr int kBlock = 512;
const double kOneDb = std::pow(10.0, 1.0 / 20.0);

// One KELDRA instance from the built bundle, set up as a host does, fed
// whole signals in blocks of kBlock frames.
class HostedBundle {
public:
    HostedBundle(double rate, int sampleSize) : mSampleSize(sampleSize)
    {
        std::string error;
        mModule = PluginModule::Load(KELDRA_BUNDLE_PATH, error);
        if (mModule)
            mPlugin = PluginInstance::Create(*mModule, mApp, mHandler, error);
        EXPECT_NE(mPlugin, nullptr) << error;
        if (mPlugin)
            setUp(rate);
    }
    bool ready() const { return mPlugin != nullptr; }

    /// Deactivates (when active), sets up at `rate` and activates again.
    void setUp(double rate)
    {
        std::string error;
        EXPECT_TRUE(mPlugin->Setup({rate, kBlock, mSampleSize}, error)) << error;
    }

    /// Queues a change for the next process call, at `offset` within it.
    void set(KeldraParamId id, double normalized, int offset = 0) { mChanges.Add(ToIndex(id), normalized, offset); }

    /// Processes `in` block by block; `beforeBlock(index)` may queue changes.
    Stereo run(const Stereo& in, const std::function<void(int)>& beforeBlock = {})
    {
        Stereo out = in;
        for (int start = 0, index = 0; start < static_cast<int>(in[0].size()); start += kBlock, ++index) {
            if (beforeBlock)
                beforeBlock(index);
            const int n = std::min(kBlock, static_cast<int>(in[0].size()) - start);
            if (mSampleSize == kSample32)
                processInPlace<float>(out, start, n);
            else
                processInPlace<double>(out, start, n);
            mChanges.Clear();
        }
        return out;
    }

private:
    template <class Sample>
    void processInPlace(Stereo& io, int start, int n)
    {
        std::vector<Sample> block[2];
        Sample* arrays[2];
        for (int c = 0; c < 2; ++c) {
            block[c].assign(io[c].begin() + start, io[c].begin() + start + n);
            arrays[c] = block[c].data();
        }
        tresult result;
        if constexpr (std::is_same_v<Sample, float>)
            result = mPlugin->Process32(arrays, arrays, n, &mChanges);
        else
            result = mPlugin->Process64(arrays, arrays, n, &mChanges);
        EXPECT_EQ(result, kResultOk);
        for (int c = 0; c < 2; ++c)
            std::copy(block[c].begin(), block[c].end(), io[c].begin() + start);
    }

    const int mSampleSize;
    // The instance goes first, the module last.
    HostApplication mApp{"KELDRA filter reset test"};
    HostComponentHandler mHandler;
    std::unique_ptr<PluginModule> mModule;
    std::unique_ptr<PluginInstance> mPlugin;
    HostParameterChanges mChanges;
};

/// Peak of both channels over frames [from, to).
double peak(const Stereo& s, int from, int to)
{
    double p = 0.0;
    for (const std::vector<double>& channel : s)
        for (int i = from; i < to && i < static_cast<int>(channel.size()); ++i)
            p = std::max(p, std::fabs(channel[i]));
    return p;
}

// ---- the OVERSAMPLE switch ------------------------------------------------

// From factor (0 → 4, 1 → 16), sample size, frame within the block at which
// the host places the change.
using SwitchCase = std::tuple<double, int, int>;

class KeldraOversamplingSwitch : public ::testing::TestWithParam<SwitchCase> {};

// Loud noise at every default knob; the factor changes after a second. The
// 4x filter states run through the 16x design made a burst of 114 against a
// steady peak of 1.46 (+38 dB) in the 50 ms after the switch.
TEST_P(KeldraOversamplingSwitch, PeakAfterTheSwitchStaysWithinOneDbOfTheSteadyPeak)
{
    const auto [from, sampleSize, offset] = GetParam();
    const double rate = 48000.0;
    const int frames = 84000, switchBlock = 94, switchFrame = switchBlock * kBlock;
    const int steadyFrom = 24000, burstEnd = switchFrame + static_cast<int>(0.05 * rate);
    const Stereo in = {noise(frames, 0.9, 1), noise(frames, 0.9, 2)};

    HostedBundle switched(rate, sampleSize), fixedAtNew(rate, sampleSize);
    ASSERT_TRUE(switched.ready() && fixedAtNew.ready());
    const Stereo out = switched.run(in, [&](int block) {
        if (block == 0)
            switched.set(KeldraParamId::kOversampling, from);
        if (block == switchBlock)
            switched.set(KeldraParamId::kOversampling, 1.0 - from, offset);
    });
    const Stereo reference = fixedAtNew.run(in, [&](int block) {
        if (block == 0)
            fixedAtNew.set(KeldraParamId::kOversampling, 1.0 - from);
    });

    const double steady = std::max(peak(out, steadyFrom, switchFrame), peak(reference, steadyFrom, frames));
    EXPECT_LE(peak(out, switchFrame, burstEnd), steady * kOneDb) << "steady peak " << steady;
    // The switch took effect: the output has become the new factor's.
    double apart = 0.0;
    for (int c = 0; c < 2; ++c)
        for (int i = frames - 12000; i < frames; ++i)
            apart = std::max(apart, std::fabs(out[c][i] - reference[c][i]));
    EXPECT_LT(apart, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(BothDirectionsPrecisionsAndOffsets, KeldraOversamplingSwitch,
                         ::testing::Combine(::testing::Values(0.0, 1.0), ::testing::Values(kSample32, kSample64),
                                            ::testing::Values(0, 300)));

// ---- a new set-up at another sample rate --------------------------------

struct RateChange {
    double from, to; // Hz
};

void PrintTo(const RateChange& change, std::ostream* os)
{
    *os << change.from << " Hz to " << change.to << " Hz";
}

class KeldraSampleRateChange : public ::testing::TestWithParam<RateChange> {};

// Noise and a 100 Hz sine, up to 0.9 together.
Stereo loud(double rate, int frames, std::uint64_t seed)
{
    Stereo s = {noise(frames, 0.5, seed), noise(frames, 0.5, seed + 1)};
    const std::vector<double> hum = sine(frames, 0.4, 100.0, rate);
    for (std::vector<double>& channel : s)
        for (int i = 0; i < frames; ++i)
            channel[i] += hum[i];
    return s;
}

// HPF and GainL to their maximum in the first block.
std::function<void(int)> turnUp(HostedBundle& effect)
{
    return [&effect](int block) {
        if (block == 0) {
            effect.set(KeldraParamId::kHighPass, 1.0);
            effect.set(KeldraParamId::kGainLow, 1.0);
        }
    };
}

// A second of loud audio with HPF and GainL at their maximum, then the host
// deactivates, sets up at the new rate and activates again. Old-rate
// histories through new-rate coefficients rang up to +84 dB; at the same
// rate they made two renders of the same input differ. Every new set-up
// starts from silence.
TEST_P(KeldraSampleRateChange, ClearsTheFiltersAtEveryNewSetUp)
{
    const RateChange change = GetParam();
    const int before = static_cast<int>(change.from), after = static_cast<int>(change.to / 4);
    const int firstTenth = static_cast<int>(change.to / 10);
    const Stereo first = loud(change.from, before, 11), next = loud(change.to, after, 21);
    const Stereo silence = {std::vector<double>(after), std::vector<double>(after)};

    HostedBundle changed(change.from, kSample64), quiet(change.from, kSample64);
    ASSERT_TRUE(changed.ready() && quiet.ready());
    changed.run(first, turnUp(changed));
    changed.setUp(change.to);
    const Stereo out = changed.run(next);
    quiet.run(first, turnUp(quiet));
    quiet.setUp(change.to);
    const Stereo outOfSilence = quiet.run(silence);

    // The scalar model, set up and fed the same way.
    ReferenceChain oracle;
    ChainSettings settings;
    settings.highPass = 0.96;
    settings.lowShelf = 1.0;
    Stereo model;
    const auto runOracle = [&](double rate, const Stereo& in) {
        oracle.reset(rate);
        settings.sampleRate = rate;
        runBlocks(oracle, in[0], in[1], model[0], model[1], kBlock, settings);
    };
    runOracle(change.from, first);
    runOracle(change.to, next);
    EXPECT_TRUE(agrees(out[0], model[0]));
    EXPECT_TRUE(agrees(out[1], model[1]));

    EXPECT_EQ(peak(outOfSilence, 0, after), 0.0);
    // Against an instance that only ever ran at the new rate, knobs settled
    // on silence, then fed the same input.
    HostedBundle fresh(change.to, kSample64);
    ASSERT_TRUE(fresh.ready());
    fresh.run({std::vector<double>(static_cast<int>(change.to)), std::vector<double>(static_cast<int>(change.to))},
              turnUp(fresh));
    const Stereo expected = fresh.run(next);
    EXPECT_LE(peak(out, 0, firstTenth), peak(expected, 0, firstTenth) * kOneDb);
}

INSTANTIATE_TEST_SUITE_P(UpDownAndSame, KeldraSampleRateChange,
                         ::testing::Values(RateChange{48000.0, 192000.0}, RateChange{48000.0, 44100.0},
                                           RateChange{96000.0, 48000.0}, RateChange{48000.0, 48000.0}));

} // namespace
