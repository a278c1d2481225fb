// SPDX-License-Identifier: GPL-3.0-or-later
// What every format binding does alike, done once by the base: each test
// runs against every binding, through that format's own calls.
#include "BindingDrivers.h"
#include "RecordingEditor.h"

#include <gtest/gtest.h>

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

TEST_P(BindingCore, HostValuesAreClampedSnappedToldToTheEditorAndNonFiniteOnesRefused)
{
    EditorLog& log = editorLog;
    driver->Base().AttachEditor(std::make_unique<RecordingEditor>(log));
    log.deliveries.clear();
    driver->Forget();
    Run(16, {{0, 0, 99.0}, {1, 0, 0.7}, {2, 0, std::numeric_limits<double>::quiet_NaN()}});
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

TEST_P(BindingCore, LongBlocksRunInPartsOfTheBlockSizeAndAtChangePoints)
{
    driver->Forget();
    const StereoBlock block = Run(150, {{2, 100, 0.5}});
    ExpectDoubled(block);
    const std::vector<int> expected =
        driver->SampleAccurate() ? std::vector<int>({64, 36, 50}) : std::vector<int>({64, 64, 22});
    EXPECT_EQ(driver->Parts(), expected);
    EXPECT_EQ(Value(2), 0.5);
}

TEST_P(BindingCore, HostBypassPassesTheInputWhileTheEffectRunsOn)
{
    driver->Forget();
    const StereoBlock bypassed = Run(100, {{HostChange::kHostBypass, 0, 1.0}});
    EXPECT_EQ(bypassed.out, bypassed.in);
    EXPECT_EQ(driver->Parts(), std::vector<int>({64, 36}));
    ExpectDoubled(Run(100, {{HostChange::kHostBypass, 0, 0.0}}));
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
