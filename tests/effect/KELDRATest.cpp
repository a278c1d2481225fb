// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/KELDRA.h"
#include "effect/KeldraPresets.h"

#include "framework/FourCharCode.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

const IParamRecord& Param(const KELDRA& effect, KeldraParamId id)
{
    return *effect.GetParam(ToIndex(id));
}

std::string Shown(const KELDRA& effect, KeldraParamId id)
{
    char text[IParamRecord::kTextSize];
    Param(effect, id).FormatForHost(Param(effect, id).Value(), text, sizeof text);
    return text;
}

// What the chain runs with once a block takes the current values.
ChainSettings Settled(KELDRA& effect)
{
    effect.TakeWholeSet();
    return effect.SettledChainSettings();
}

}  // namespace

TEST(Keldra, IsConstructedWithItsIdentityAndChannelConfigurations)
{
    KELDRA effect;
    EXPECT_STREQ(effect.GetEffectName(), "KELDRA");
    EXPECT_STREQ(effect.GetProductName(), "");
    EXPECT_STREQ(effect.GetMakerName(), "Brackenfold");
    EXPECT_EQ(effect.GetVersion(), 0x30000);
    EXPECT_EQ(effect.GetUniqueId(), MakeFourCharCode("Kld1"));
    EXPECT_EQ(effect.GetMakerId(), MakeFourCharCode("Bkfd"));
    EXPECT_EQ(effect.GetParamCount(), kKeldraParamCount);
    EXPECT_EQ(effect.GetPresetCount(), KeldraPresets::kCount);
    EXPECT_EQ(effect.GetInputCount(), 2);
    EXPECT_EQ(effect.GetOutputCount(), 2);
    EXPECT_EQ(effect.GetChannelIOPairs().size(), 2u);
    EXPECT_EQ(effect.GetLatency(), 0);
    EXPECT_FALSE(effect.IsInstrument());
    EXPECT_FALSE(effect.DoesMidi());
}

TEST(Keldra, DefinesTheParametersExactlyAsTabled)
{
    struct Row {
        KeldraParamId id;
        const char* name;
        int kind;
        double defaultValue, minValue, maxValue, step, shape;
        int precision;
    };
    const Row rows[] = {
        {KeldraParamId::kOut, "OUT", 4, 0, -15, 15, 0.01, 1.0, 2},
        {KeldraParamId::kHighPass, "HPF", 4, 0, 0, 0.96, 0.01, 0.25, 2},
        {KeldraParamId::kLowPass, "LPF", 4, 0, -0.3, 0, 0.01, 1.0, 2},
        {KeldraParamId::kGainHigh, "GainH", 4, 0.5, 0, 1, 0.01, 1.0, 2},
        {KeldraParamId::kGainMid, "GainM", 4, 0.5, 0.02, 0.98, 0.01, 1.0, 2},
        {KeldraParamId::kGainLow, "GainL", 4, 0.5, 0, 1, 0.01, 1.0, 2},
        {KeldraParamId::kBypass, "Bypass", 2, 0, 0, 1, 1, 1.0, 0},
        {KeldraParamId::kOversampling, "Oversampling", 2, 0, 0, 1, 1, 1.0, 0},
    };
    KELDRA effect;
    for (const Row& row : rows) {
        const IParamRecord& p = Param(effect, row.id);
        SCOPED_TRACE(ToIndex(row.id));
        EXPECT_STREQ(p.Name(), row.name);
        EXPECT_EQ(p.Kind(), row.kind);
        EXPECT_EQ(p.Default(), row.defaultValue);
        EXPECT_EQ(p.Value(), row.defaultValue);
        EXPECT_EQ(p.Min(), row.minValue);
        EXPECT_EQ(p.Max(), row.maxValue);
        EXPECT_EQ(p.Step(), row.step);
        EXPECT_EQ(p.Shape(), row.shape);
        EXPECT_EQ(p.DisplayPrecision(), row.precision);
        EXPECT_STREQ(p.Label(), "");
        EXPECT_STREQ(p.LabelForHost(), "");
        EXPECT_STREQ(p.Group(), "");
        EXPECT_TRUE(p.CanAutomate());
    }
}

TEST(Keldra, TheDefaultPresetGivesTheChainItsDefaults)
{
    KELDRA effect;
    const IPresetSlot& preset = *effect.GetPreset(0);
    EXPECT_TRUE(preset.IsInitialized());
    EXPECT_STREQ(preset.Name(), "-");
    EXPECT_EQ(preset.Chunk().Size(), 64);

    ASSERT_TRUE(effect.LoadPreset(0));
    EXPECT_EQ(Settled(effect).outputGain, 1.0);
    EXPECT_EQ(Settled(effect).highShelf, 0.5);
    EXPECT_EQ(Settled(effect).midBell, 0.5);
    EXPECT_EQ(Settled(effect).lowShelf, 0.5);
    EXPECT_EQ(Settled(effect).highPass, 0.0);
    EXPECT_EQ(Settled(effect).lowPass, 0.0);
    EXPECT_EQ(Settled(effect).oversampling, 4);
}

TEST(Keldra, InitialisedInstanceShowsItsDefaults)
{
    KELDRA effect;
    ASSERT_TRUE(effect.LoadPreset(0));
    EXPECT_EQ(Shown(effect, KeldraParamId::kOut), "0.00 dB");
    EXPECT_EQ(Shown(effect, KeldraParamId::kHighPass), "12.4 Hz");
    EXPECT_EQ(Shown(effect, KeldraParamId::kLowPass), "43.5 kHz");
    EXPECT_EQ(Shown(effect, KeldraParamId::kGainHigh), "0.0 dB");
    EXPECT_EQ(Shown(effect, KeldraParamId::kGainMid), "0.0 dB");
    EXPECT_EQ(Shown(effect, KeldraParamId::kGainLow), "0.0 dB");
    EXPECT_EQ(Shown(effect, KeldraParamId::kBypass), "Effect in");
    EXPECT_EQ(Shown(effect, KeldraParamId::kOversampling), "4\xC3\x97");

    effect.SetParamFromEditor(ToIndex(KeldraParamId::kOut), 0.0);
    EXPECT_EQ(Shown(effect, KeldraParamId::kOut), "-15.00 dB");
}

TEST(Keldra, OutputGainFollowsTheDecibelValue)
{
    KELDRA effect;
    const int out = ToIndex(KeldraParamId::kOut);
    effect.SetParamFromEditor(out, 0.0);
    EXPECT_DOUBLE_EQ(Settled(effect).outputGain, 0.1778279410038923);
    effect.SetParamFromEditor(out, 1.0);
    EXPECT_DOUBLE_EQ(Settled(effect).outputGain, 5.623413251903491);
    effect.SetParamFromEditor(out, 0.5);
    EXPECT_DOUBLE_EQ(Settled(effect).outputGain, 1.0);

    // A NaN from the editor leaves the gain where it was.
    effect.SetParamFromEditor(out, std::numeric_limits<double>::quiet_NaN());
    EXPECT_DOUBLE_EQ(Settled(effect).outputGain, 1.0);
}

TEST(Keldra, KnobTravelMapsThroughEachShape)
{
    KELDRA effect;
    effect.SetParamFromEditor(ToIndex(KeldraParamId::kHighPass), 0.5);
    EXPECT_NEAR(Settled(effect).highPass, 0.8073, 5e-5);
    effect.SetParamFromEditor(ToIndex(KeldraParamId::kHighPass), 0.25);
    EXPECT_NEAR(Settled(effect).highPass, 0.6788, 5e-5);

    effect.SetParamFromEditor(ToIndex(KeldraParamId::kGainMid), 0.5);
    EXPECT_DOUBLE_EQ(Settled(effect).midBell, 0.5);
    effect.SetParamFromEditor(ToIndex(KeldraParamId::kGainMid), 1.0);
    EXPECT_DOUBLE_EQ(Settled(effect).midBell, 0.98);  // GainM never reaches 1

    effect.SetParamFromEditor(ToIndex(KeldraParamId::kLowPass), 0.0);
    EXPECT_DOUBLE_EQ(Settled(effect).lowPass, -0.3);
    effect.SetParamFromEditor(ToIndex(KeldraParamId::kGainHigh), 0.25);
    EXPECT_DOUBLE_EQ(Settled(effect).highShelf, 0.25);
    effect.SetParamFromEditor(ToIndex(KeldraParamId::kGainLow), 0.75);
    EXPECT_DOUBLE_EQ(Settled(effect).lowShelf, 0.75);
}

TEST(Keldra, OversamplingSnapsToTwoValuesAndPicksTheFactor)
{
    KELDRA effect;
    const int oversampling = ToIndex(KeldraParamId::kOversampling);
    effect.SetParamFromEditor(oversampling, 0.7);
    EXPECT_EQ(Param(effect, KeldraParamId::kOversampling).Value(), 1.0);
    EXPECT_EQ(Settled(effect).oversampling, 16);
    effect.SetParamFromEditor(oversampling, 0.3);
    EXPECT_EQ(Param(effect, KeldraParamId::kOversampling).Value(), 0.0);
    EXPECT_EQ(Settled(effect).oversampling, 4);
}

TEST(Keldra, BypassIsSteppedAndTouchesNoChainSetting)
{
    KELDRA effect;
    ASSERT_TRUE(effect.LoadPreset(0));
    effect.SetParamFromEditor(ToIndex(KeldraParamId::kBypass), 0.6);
    EXPECT_EQ(Param(effect, KeldraParamId::kBypass).Value(), 1.0);
    EXPECT_EQ(Settled(effect).outputGain, 1.0);
    EXPECT_EQ(Settled(effect).highShelf, 0.5);
    EXPECT_EQ(Settled(effect).oversampling, 4);
}
