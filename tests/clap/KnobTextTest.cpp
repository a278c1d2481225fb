// SPDX-License-Identifier: GPL-3.0-or-later
// What hosts show of each parameter and read back from typed text, through
// the built modules' own text calls: VST3 getParamStringByValue /
// getParamValueByString and CLAP value_to_text / text_to_value.
#include "ClapTestHost.h"
#include "host/PluginInstance.h"
#include "tools/OpenedPlugin.h"

#include "pluginterfaces/base/ustring.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// One format's text calls, on plain values.
class TextCalls {
public:
    virtual ~TextCalls() = default;
    virtual double Min(int id) = 0;
    virtual double Max(int id) = 0;
    virtual std::string Text(int id, double plain) = 0;
    /// False when the text is refused.
    virtual bool Value(int id, const std::string& text, double& plain) = 0;
    /// The parameter's current plain value.
    virtual double Current(int id) = 0;
};

class Vst3Calls : public TextCalls {
public:
    Vst3Calls()
    {
        std::string error;
        mOpened = OpenedPlugin::Open(KELDRA_BUNDLE_PATH, "keldra-tests", error);
        EXPECT_NE(mOpened, nullptr) << error;
        mController = mOpened->Instance().Controller();
    }
    double Min(int id) override { return mController->normalizedParamToPlain(ParamID(id), 0.0); }
    double Max(int id) override { return mController->normalizedParamToPlain(ParamID(id), 1.0); }
    std::string Text(int id, double plain) override
    {
        return mOpened->Instance().ValueText(ParamID(id), mController->plainParamToNormalized(ParamID(id), plain));
    }
    bool Value(int id, const std::string& text, double& plain) override
    {
        String128 wide{};
        UString(wide, 128).fromAscii(text.c_str());
        ParamValue normalized = -1.0;
        if (mController->getParamValueByString(ParamID(id), wide, normalized) != kResultOk)
            return false;
        plain = mController->normalizedParamToPlain(ParamID(id), normalized);
        return true;
    }
    double Current(int id) override
    {
        return mController->normalizedParamToPlain(ParamID(id), mController->getParamNormalized(ParamID(id)));
    }

private:
    std::unique_ptr<OpenedPlugin> mOpened;
    IEditController* mController = nullptr;
};

class ClapCalls : public TextCalls {
public:
    ClapCalls() { EXPECT_TRUE(mHost.Ready()) << mHost.Error(); }
    double Min(int id) override { return Info(id).min_value; }
    double Max(int id) override { return Info(id).max_value; }
    std::string Text(int id, double plain) override
    {
        char text[64] = {};
        EXPECT_TRUE(mHost.Params().value_to_text(mHost.Plugin(), clap_id(id), plain, text, sizeof text));
        return text;
    }
    bool Value(int id, const std::string& text, double& plain) override
    {
        return mHost.Params().text_to_value(mHost.Plugin(), clap_id(id), text.c_str(), &plain);
    }
    double Current(int id) override { return mHost.Value(clap_id(id)); }

private:
    clap_param_info_t Info(int id)
    {
        clap_param_info_t info{};
        EXPECT_TRUE(mHost.Params().get_info(mHost.Plugin(), uint32_t(id), &info));
        return info;
    }
    ClapTestHost mHost{KELDRA_CLAP_PATH};
};

enum class Format { kVst3, kClap };

class KnobText : public ::testing::TestWithParam<Format> {
protected:
    void SetUp() override
    {
        if (GetParam() == Format::kVst3)
            calls = std::make_unique<Vst3Calls>();
        else
            calls = std::make_unique<ClapCalls>();
    }
    /// The figure a text shows, read as a number in Hz or dB ("3.1 kHz" is 3100).
    static double Figure(const std::string& text)
    {
        char* end = nullptr;
        const double number = std::strtod(text.c_str(), &end);
        return std::string(end).find("kHz") != std::string::npos ? number * 1000.0 : number;
    }
    std::unique_ptr<TextCalls> calls;
};

enum Param { kOut, kHpf, kLpf, kGainH, kGainM, kGainL, kBypass, kOversampling };
constexpr double kStep = 0.01;

}  // namespace

// The figures at the ends and the middle of each knob, against the circuit's
// measured responses (its analog prototype is within a few per cent of them).
TEST_P(KnobText, ShowsEachKnobInDecibelsOrHertzAtItsEndsAndMiddle)
{
    const struct {
        int id;
        double low, middle, high;  // expected figures at min, middle of the plain range, max
        double tolerance;          // relative for Hz, absolute for dB
        const char* unit;
    } knobs[] = {
        {kOut, -15.0, 0.0, 15.0, 1e-9, " dB"},
        {kGainH, -13.31, 0.0, 13.31, 0.2, " dB"},   // at 10 kHz
        {kGainM, -15.44, 0.0, 15.44, 0.05, " dB"},  // at the bell's centre
        {kGainL, -11.54, 0.0, 11.53, 0.05, " dB"},  // at 30 Hz
        {kHpf, 12.4, 0.0, 269.0, 0.03, "Hz"},       // −3 dB corners
        {kLpf, 1100.0, 0.0, 18800.0, 0.03, "Hz"},
    };
    for (const auto& knob : knobs) {
        SCOPED_TRACE(knob.id);
        const double min = calls->Min(knob.id), max = calls->Max(knob.id);
        const std::string low = calls->Text(knob.id, min), high = calls->Text(knob.id, max);
        EXPECT_NE(low.find(knob.unit), std::string::npos) << low;
        EXPECT_NE(high.find(knob.unit), std::string::npos) << high;
        if (knob.unit[1] == 'd') {
            EXPECT_NEAR(Figure(low), knob.low, knob.tolerance + 0.05) << low;
            EXPECT_NEAR(Figure(high), knob.high, knob.tolerance + 0.05) << high;
            EXPECT_EQ(high[0], '+') << high;
            // Flat reads as flat, without a sign.
            EXPECT_EQ(calls->Text(knob.id, (min + max) / 2.0), knob.id == kOut ? "0.00 dB" : "0.0 dB");
        } else if (knob.id == kHpf) {
            EXPECT_NEAR(Figure(low), knob.low, knob.low * knob.tolerance) << low;
            EXPECT_NEAR(Figure(high), knob.high, knob.high * knob.tolerance) << high;
        } else {
            // The LPF's closed end; fully open it lies beyond hearing, where
            // the digital filter's corner is pressed below the Nyquist rate.
            EXPECT_NEAR(Figure(low), knob.low, knob.low * knob.tolerance) << low;
            EXPECT_GT(Figure(high), 20000.0) << high;
        }
    }
    EXPECT_EQ(calls->Text(kOversampling, 0.0), "4\xC3\x97");
    EXPECT_EQ(calls->Text(kOversampling, 1.0), "16\xC3\x97");
    EXPECT_EQ(calls->Text(kBypass, 0.0), "Effect in");
    EXPECT_EQ(calls->Text(kBypass, 1.0), "Bypassed");
}

// Every step of every knob: the figure never falls as the position rises,
// and its text typed back finds a position that shows the same text, at most
// one step away (two steps may share a text where the figure moves slowly).
TEST_P(KnobText, FiguresRiseWithTheKnobAndEveryTextReadsBackToItsStep)
{
    for (int id : {kOut, kHpf, kLpf, kGainH, kGainM, kGainL, kBypass, kOversampling}) {
        SCOPED_TRACE(id);
        const double min = calls->Min(id), max = calls->Max(id);
        const double step = id >= kBypass ? 1.0 : kStep;
        double previous = -1e300;
        for (double plain = min; plain <= max + 1e-9; plain += step) {
            const std::string text = calls->Text(id, plain);
            if (id < kBypass) {
                EXPECT_GE(Figure(text), previous) << text;
                previous = Figure(text);
            }
            double back = 0.0;
            ASSERT_TRUE(calls->Value(id, text, back)) << text;
            EXPECT_NEAR(back, plain, step * 1.0001) << text;
            EXPECT_EQ(calls->Text(id, back), text);
        }
    }
}

TEST_P(KnobText, TakesFiguresWithOrWithoutTheirUnitAndRefusesWhatIsNoValue)
{
    double plain = 0.0, same = 0.0;
    ASSERT_TRUE(calls->Value(kLpf, "3100 Hz", plain));
    EXPECT_NEAR(Figure(calls->Text(kLpf, plain)), 3100.0, 100.0);  // the nearest step's corner
    for (const char* text : {"3.1k", "3.1 kHz", "3100", "3.1KHZ"}) {
        ASSERT_TRUE(calls->Value(kLpf, text, same)) << text;
        EXPECT_EQ(same, plain) << text;
    }
    ASSERT_TRUE(calls->Value(kGainH, "+6 dB", plain));
    ASSERT_TRUE(calls->Value(kGainH, "6", same));
    EXPECT_EQ(plain, same);
    EXPECT_NEAR(Figure(calls->Text(kGainH, plain)), 6.0, 0.1);
    // Beyond an end is that end.
    ASSERT_TRUE(calls->Value(kHpf, "5 kHz", plain));
    EXPECT_EQ(plain, calls->Max(kHpf));
    ASSERT_TRUE(calls->Value(kOversampling, "16x", plain));
    EXPECT_EQ(plain, 1.0);
    ASSERT_TRUE(calls->Value(kBypass, "bypassed", plain));
    EXPECT_EQ(plain, 1.0);

    const double before[] = {calls->Current(kOut), calls->Current(kHpf), calls->Current(kBypass)};
    const struct {
        int id;
        const char* text;
    } refused[] = {{kOut, "loud"}, {kOut, ""},     {kOut, "3 Hz"},   {kHpf, "3 dB"},  {kHpf, "kHz"},
                   {kHpf, "0"},    {kLpf, "-1k"},  {kGainM, "nan"},  {kGainL, "--1"}, {kOversampling, "8x"},
                   {kBypass, "maybe"}};
    for (const auto& r : refused) {
        double untouched = -123.0;
        EXPECT_FALSE(calls->Value(r.id, r.text, untouched)) << r.text;
        EXPECT_EQ(untouched, -123.0) << r.text;
    }
    EXPECT_EQ(calls->Current(kOut), before[0]);
    EXPECT_EQ(calls->Current(kHpf), before[1]);
    EXPECT_EQ(calls->Current(kBypass), before[2]);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, KnobText, ::testing::Values(Format::kVst3, Format::kClap),
                         [](const ::testing::TestParamInfo<Format>& info) {
                             return info.param == Format::kVst3 ? "Vst3" : "Clap";
                         });
