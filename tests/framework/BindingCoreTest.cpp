// SPDX-License-Identifier: GPL-3.0-or-later
// What every format binding does alike, done once by the base: each test
// runs against every binding, through that format's own calls.
#include "BindingDrivers.h"
#include "RecordingEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>

namespace {

constexpr double kRate = 48000.0;

class BindingCore : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override { ASSERT_TRUE(driver->SetUp(kRate, 64)); }

    double Value(int paramIdx) { return driver->Base().GetParam(paramIdx)->Value(); }

    // One block of `frames` carrying `changes`.
    StereoBlock Run(int frames, const std::vector<HostChange>& changes = {})
    {
        StereoBlock block(frames);
        driver->Process(block, changes);
        return block;
    }

    static void ExpectDoubled(const StereoBlock& block)
    {
        for (int c = 0; c < 2; ++c)
            for (std::size_t i = 0; i < block.in[c].size(); ++i)
                ASSERT_EQ(block.out[c][i], 2.0f * block.in[c][i]) << "channel " << c << " frame " << i;
    }

    EditorLog editorLog;  // outlives the driver, whose effect owns the editor
    std::unique_ptr<BindingDriver> driver = MakeBindingDriver(GetParam());
};

TEST_P(BindingCore, StateRoundTripsReadsThroughShortReadsAndLoadsAllOrNothing)
{
    Run(16, {{0, 0, 7.5}, {1, 0, 1.0}, {2, 0, 0.5}, {HostChange::kHostBypass, 0, 1.0}});
    const std::vector<std::uint8_t> saved = driver->Save();
    ASSERT_EQ(saved.size(), 3u * 8 + 4);
    const double values[3] = {7.5, 1.0, 0.5};
    EXPECT_EQ(std::memcmp(saved.data(), values, sizeof values), 0);
    EXPECT_EQ(std::vector<std::uint8_t>(saved.begin() + 24, saved.end()), std::vector<std::uint8_t>({1, 0, 0, 0}));

    // One byte per read still restores everything, and the effect hears of
    // every value once all are in place.
    Run(16, {{0, 0, -3.0}, {1, 0, 0.0}, {2, 0, 0.75}, {HostChange::kHostBypass, 0, 0.0}});
    driver->Forget();
    EXPECT_TRUE(driver->Load(saved, 1));
    EXPECT_EQ(Value(0), 7.5);
    EXPECT_EQ(Value(1), 1.0);
    EXPECT_EQ(Value(2), 0.5);
    EXPECT_TRUE(driver->Base().IsBypassed());
    EXPECT_EQ(driver->Changed(), std::vector<int>({0, 1, 2}));

    // Cut inside the values, or empty: nothing changes and the load fails.
    std::vector<std::uint8_t> other = saved;
    const double otherValues[3] = {-9.0, 0.0, 0.125};
    std::memcpy(other.data(), otherValues, sizeof otherValues);
    driver->Forget();
    for (std::size_t size : {std::size_t{20}, std::size_t{0}}) {
        EXPECT_FALSE(driver->Load(std::vector<std::uint8_t>(other.begin(), other.begin() + size), 64)) << size;
        EXPECT_EQ(Value(0), 7.5);
        EXPECT_EQ(Value(2), 0.5);
        EXPECT_TRUE(driver->Base().IsBypassed());
    }
    EXPECT_TRUE(driver->Changed().empty());

    // An older chunk of the values alone restores them and keeps the bypass
    // (whether the format calls that success is its own affair).
    driver->Load(std::vector<std::uint8_t>(other.begin(), other.begin() + 24), 64);
    EXPECT_EQ(Value(0), -9.0);
    EXPECT_EQ(Value(2), 0.125);
    EXPECT_TRUE(driver->Base().IsBypassed());
}

TEST_P(BindingCore, HostValuesAreClampedSnappedShownOnTheEditorsTimerAndNonFiniteOnesRefused)
{
    EditorLog& log = editorLog;
    driver->Base().AttachEditor(std::make_unique<RecordingEditor>(log));
    log.deliveries.clear();
    driver->Forget();
    Run(16, {{0, 0, 99.0}, {1, 0, 0.7}, {2, 0, std::numeric_limits<double>::quiet_NaN()}});
    // The audio thread never touches the editor: its timer finds the changes.
    EXPECT_TRUE(log.deliveries.empty());
    driver->Base().FollowParamsInEditor();
    EXPECT_EQ(Value(0), 15.0);
    EXPECT_EQ(Value(1), 1.0);
    EXPECT_EQ(Value(2), 0.25);
    EXPECT_EQ(driver->Changed(), std::vector<int>({0, 1}));
    ASSERT_EQ(log.deliveries.size(), 2u);
    EXPECT_EQ(log.deliveries[0].paramIdx, 0);
    EXPECT_EQ(log.deliveries[0].value, 1.0);
    EXPECT_TRUE(log.deliveries[0].isNormalized);
    EXPECT_EQ(log.deliveries[1].paramIdx, 1);
    EXPECT_EQ(log.deliveries[1].value, 1.0);
}

TEST_P(BindingCore, LongBlocksRunInPartsOfTheBlockSizeAndAtEveryChangePoint)
{
    driver->Forget();
    const StereoBlock block = Run(150, {{2, 100, 0.5}, {2, 120, 0.75}});
    ExpectDoubled(block);
    const std::vector<int> expected =
        driver->SampleAccurate() ? std::vector<int>({64, 36, 20, 30}) : std::vector<int>({64, 64, 22});
    EXPECT_EQ(driver->Parts(), expected);
    EXPECT_EQ(Value(2), 0.75);
}

// Either bypass (the host's, or the effect's own switch: the probe's
// parameter 1) switched while a loud sine plays: a fresh instance that
// starts bypassed passes the input from its first sample; each switch then
// cross-fades, never stepping more than a quarter beyond the steady
// signals' own largest step, and once faded the output is exactly the
// input, or the effect's.
TEST_P(BindingCore, EitherBypassCrossFadesWithoutAStepThenIsExact)
{
    constexpr int kBlocks = 30, kFrames = 64;
    const int fade = static_cast<int>(std::lround(BypassFade::kSeconds * kRate));
    ASSERT_LT(fade, 10 * kFrames);
    for (const int bypass : {HostChange::kHostBypass, 1}) {
        std::unique_ptr<BindingDriver> fresh = MakeBindingDriver(GetParam());
        ASSERT_TRUE(fresh->SetUp(kRate, kFrames));
        std::vector<float> in, out;
        for (int b = 0; b < kBlocks; ++b) {
            StereoBlock block(kFrames);
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < kFrames; ++i)
                    block.in[c][i] = 0.9f * static_cast<float>(std::sin(0.1309 * (b * kFrames + i)));
            std::vector<HostChange> changes;
            if (b % 10 == 0)
                changes.push_back({bypass, 0, b == 10 ? 0.0 : 1.0});
            fresh->Process(block, changes);
            in.insert(in.end(), block.in[0].begin(), block.in[0].end());
            out.insert(out.end(), block.out[0].begin(), block.out[0].end());
        }
        float steady = 0.0f;
        float most = 0.0f;
        for (std::size_t i = 1; i < in.size(); ++i) {
            steady = std::max({steady, std::fabs(in[i] - in[i - 1]), std::fabs(2.0f * (in[i] - in[i - 1]))});
            most = std::max(most, std::fabs(out[i] - out[i - 1]));
        }
        EXPECT_LE(most, 1.25f * steady) << bypass;
        for (int i = 0; i < kBlocks * kFrames; ++i) {
            const int block = i / kFrames, since = i % (10 * kFrames);
            if (block / 10 == 1 && since >= fade) {
                ASSERT_EQ(out[i], 2.0f * in[i]) << bypass << " frame " << i;
            } else if (block / 10 != 1 && (block == 0 || since >= fade)) {
                ASSERT_EQ(out[i], in[i]) << bypass << " frame " << i;
            }
        }
    }
}

TEST_P(BindingCore, AHugeMaximumBlockIsServedFromABoundedBlock)
{
    ASSERT_TRUE(driver->SetUp(kRate, std::numeric_limits<std::int32_t>::max()));
    EXPECT_EQ(driver->Base().GetBlockSize(), IEffectBase::kMaxInternalBlock);
    driver->Forget();
    ExpectDoubled(Run(10000));
    EXPECT_EQ(std::accumulate(driver->Parts().begin(), driver->Parts().end(), 0), 10000);
    for (int part : driver->Parts())
        EXPECT_LE(part, IEffectBase::kMaxInternalBlock);
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, BindingCore, testing::ValuesIn(BindingNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
