// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/IParamRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string Format(const IParamRecord& param, double plain)
{
    char text[IParamRecord::kTextSize];
    param.FormatForHost(plain, text, sizeof text);
    return text;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(ParamRecord, DisplayPrecisionFollowsTheStepUpToSixDecimals)
{
    const struct {
        double step;
        int precision;
    } cases[] = {{0.01, 2}, {0.1, 1}, {0.25, 2}, {1.0, 0}, {5.0, 0}, {1e-7, 6}};
    for (const auto& c : cases) {
        IParamRecord param;
        param.DefineContinuous("p", 0.0, 0.0, 10.0, c.step);
        EXPECT_EQ(param.DisplayPrecision(), c.precision) << "step " << c.step;
        EXPECT_EQ(param.Step(), c.step);
    }
}

TEST(ParamRecord, DefineContinuousWidensTheRangeToOneStep)
{
    IParamRecord wide;
    wide.DefineContinuous("OUT", 0.0, -15.0, 15.0, 0.01);
    EXPECT_EQ(wide.Max(), 15.0);

    IParamRecord empty;
    empty.DefineContinuous("p", 0.0, 0.0, 0.0, 0.01);
    EXPECT_EQ(empty.Max(), 0.01);
    EXPECT_EQ(empty.PlainToNormalized(0.01), 1.0);
}

TEST(ParamRecord, DefineContinuousKeepsAnEarlierKindAndAZeroShapeKeepsTheShape)
{
    IParamRecord integer;
    integer.SetKind(IParamRecord::kKindInteger);
    integer.DefineContinuous("Bypass", 0.0, 0.0, 1.0, 1.0);
    EXPECT_EQ(integer.Kind(), IParamRecord::kKindInteger);

    IParamRecord continuous;
    continuous.SetShape(3.0);
    continuous.DefineContinuous("p", 0.25, 0.0, 1.0, 0.01, "dB", "Group", 0.0);
    EXPECT_EQ(continuous.Kind(), IParamRecord::kKindContinuous);
    EXPECT_EQ(continuous.Shape(), 3.0);
    EXPECT_EQ(continuous.Value(), 0.25);
    EXPECT_EQ(continuous.Default(), 0.25);
    EXPECT_STREQ(continuous.Label(), "dB");
    EXPECT_STREQ(continuous.Group(), "Group");
}

TEST(ParamRecord, NamesLongerThanTheTextSizeAreCutAndTerminated)
{
    IParamRecord param;
    const std::string longName(40, 'x');
    param.DefineContinuous(longName.c_str(), 0.0, 0.0, 1.0, 1.0);
    EXPECT_EQ(std::string(param.Name()), std::string(31, 'x'));
}

TEST(ParamRecord, ShapeBendsTheMappingBothWays)
{
    // Above 1 the low end gets more of the travel, below 1 the high end.
    IParamRecord param;
    param.DefineContinuous("p", 0.0, 10.0, 20.0, 0.01);
    param.SetShape(2.0);
    EXPECT_DOUBLE_EQ(param.NormalizedToPlain(0.5), 12.5);
    EXPECT_DOUBLE_EQ(param.PlainToNormalized(12.5), 0.5);
    param.SetShape(0.5);
    EXPECT_DOUBLE_EQ(param.NormalizedToPlain(0.25), 15.0);
    EXPECT_NEAR(param.PlainToNormalized(param.NormalizedToPlain(0.3)), 0.3, 1e-12);
}

TEST(ParamRecord, PlainToNormalizedClampsToTheRange)
{
    IParamRecord param;
    param.DefineContinuous("OUT", 0.0, -15.0, 15.0, 0.01);
    EXPECT_EQ(param.PlainToNormalized(99.0), 1.0);
    EXPECT_EQ(param.PlainToNormalized(-99.0), 0.0);
    EXPECT_EQ(param.PlainToNormalized(0.0), 0.5);
}

TEST(ParamRecord, SetFromNormalizedGivesExactlyMaxAndRoundsSteppedKindsHalfUp)
{
    IParamRecord continuous;
    continuous.DefineContinuous("GainM", 0.5, 0.02, 0.98, 0.01);
    continuous.SetFromNormalized(1.0);
    EXPECT_EQ(continuous.Value(), 0.98);
    continuous.SetFromNormalized(0.5);
    EXPECT_EQ(continuous.Value(), 0.5);  // continuous kinds are not snapped

    IParamRecord integer;
    integer.SetKind(IParamRecord::kKindInteger);
    integer.DefineContinuous("Bypass", 0.0, 0.0, 1.0, 1.0);
    integer.SetFromNormalized(0.49);
    EXPECT_EQ(integer.Value(), 0.0);
    integer.SetFromNormalized(0.5);
    EXPECT_EQ(integer.Value(), 1.0);

    // The initial kind is stepped too.
    IParamRecord unset;
    unset.SetFromNormalized(0.7);
    EXPECT_EQ(unset.Value(), 1.0);
}

TEST(ParamRecord, SteppedRoundingCountsFromZeroNotFromMin)
{
    IParamRecord param;
    param.SetKind(IParamRecord::kKindInteger);
    param.DefineContinuous("p", 0.5, 0.5, 4.5, 1.0);
    param.SetFromNormalized(0.5);  // plain 2.5 rounds half up to 3
    EXPECT_EQ(param.Value(), 3.0);
    param.SetFromNormalized(1.0);  // 4.5 rounds to 5, then capped at max
    EXPECT_EQ(param.Value(), 4.5);
}

TEST(ParamRecord, NonFiniteValuesNeverEnterTheParameter)
{
    IParamRecord param;
    param.DefineContinuous("OUT", 3.0, -15.0, 15.0, 0.01);

    param.SetFromNormalized(kNaN);
    EXPECT_EQ(param.Value(), 3.0);
    param.SetPlain(kNaN);
    EXPECT_EQ(param.Value(), 3.0);
    param.SetPlain(kInf);
    EXPECT_EQ(param.Value(), 3.0);
    param.SetPlain(-kInf);
    EXPECT_EQ(param.Value(), 3.0);

    // Out-of-range normalised values clamp to the ends of the range.
    param.SetFromNormalized(kInf);
    EXPECT_EQ(param.Value(), 15.0);
    param.SetFromNormalized(-2.0);
    EXPECT_EQ(param.Value(), -15.0);
    param.SetFromNormalized(7.0);
    EXPECT_EQ(param.Value(), 15.0);
}

TEST(ParamRecord, SetPlainClampsToTheRange)
{
    IParamRecord param;
    param.DefineContinuous("LPF", 0.0, -0.3, 0.0, 0.01);
    param.SetPlain(-1.0);
    EXPECT_EQ(param.Value(), -0.3);
    param.SetPlain(0.5);
    EXPECT_EQ(param.Value(), 0.0);
    param.SetPlain(-0.1);
    EXPECT_EQ(param.Value(), -0.1);
}

TEST(ParamRecord, FormatsWithPrecisionOrTruncatesWithout)
{
    IParamRecord decimals;
    decimals.DefineContinuous("p", 0.0, -15.0, 15.0, 0.01);
    EXPECT_EQ(Format(decimals, 3.25), "3.25");
    EXPECT_EQ(Format(decimals, -15.0), "-15.00");

    IParamRecord whole;
    whole.DefineContinuous("p", 0.0, -10.0, 10.0, 1.0);
    EXPECT_EQ(Format(whole, -3.7), "-3");
    EXPECT_EQ(Format(whole, 3.7), "3");
    EXPECT_EQ(Format(whole, kNaN), "0");  // never undefined behaviour

    IParamRecord negated;
    negated.DefineContinuous("p", 0.0, 0.0, 10.0, 0.1);
    negated.SetNegateDisplay(true);
    EXPECT_EQ(Format(negated, 2.5), "-2.5");
}

TEST(ParamRecord, FormattingIsCutToTheBufferAndTerminated)
{
    IParamRecord param;
    param.DefineContinuous("p", 0.0, -1e9, 1e9, 1e-6);
    char text[8];
    param.FormatForHost(-12345678.5, text, sizeof text);
    EXPECT_EQ(std::string(text), "-123456");
}

TEST(ParamRecord, DisplayTextsReplaceTheNumberAndTheLabel)
{
    IParamRecord param;
    param.SetKind(IParamRecord::kKindEnum);
    param.DefineContinuous("Mode", 0.0, 0.0, 2.0, 1.0, "x");
    param.AddDisplayText(1, "Fast");
    param.AddDisplayText(1, "Shadowed");

    EXPECT_STREQ(param.DisplayTextFor(1), "Fast");
    EXPECT_STREQ(param.DisplayTextFor(2), "");
    EXPECT_EQ(Format(param, 1.9), "Fast");  // truncated toward zero before lookup
    EXPECT_EQ(Format(param, 2.0), "2");

    EXPECT_STREQ(param.LabelForHost(), "x");
    param.SetPlain(1.0);
    EXPECT_STREQ(param.LabelForHost(), "");
}
