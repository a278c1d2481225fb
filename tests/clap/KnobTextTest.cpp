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
#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

/// One format's text calls on plain values (Value false: refused). Neither
/// format's text calls can change a value; a refused text leaves the
/// caller's value untouched.
struct TextCalls {
    virtual ~TextCalls() = default;
    virtual double End(int id, bool high) = 0;
    virtual std::string Text(int id, double plain) = 0;
    virtual bool Value(int id, const std::string& text, double& plain) = 0;
};

struct Vst3Calls : TextCalls {
    Vst3Calls() { EXPECT_TRUE(opened) << error; }
    std::string error;
    std::unique_ptr<OpenedPlugin> opened = OpenedPlugin::Open(KELDRA_BUNDLE_PATH, "keldra-tests", error);
    IEditController* c = opened ? opened->Instance().Controller() : nullptr;

    double End(int id, bool high) override { return c->normalizedParamToPlain(ParamID(id), high ? 1.0 : 0.0); }
    std::string Text(int id, double plain) override
    {
        return opened->Instance().ValueText(ParamID(id), c->plainParamToNormalized(ParamID(id), plain));
    }
    bool Value(int id, const std::string& text, double& plain) override
    {
        String128 wide{};
        UString(wide, 128).fromAscii(text.c_str());
        ParamValue normalized = -1.0;
        if (c->getParamValueByString(ParamID(id), wide, normalized) != kResultOk) return false;
        plain = c->normalizedParamToPlain(ParamID(id), normalized);
        return true;
    }
};

struct ClapCalls : TextCalls {
    ClapCalls() { EXPECT_TRUE(host.Ready()) << host.Error(); }
    ClapTestHost host{KELDRA_CLAP_PATH};
    const clap_plugin_params_t& params() { return host.Params(); }

    double End(int id, bool high) override
    {
        clap_param_info_t info{};
        EXPECT_TRUE(params().get_info(host.Plugin(), uint32_t(id), &info));
        return high ? info.max_value : info.min_value;
    }
    std::string Text(int id, double plain) override
    {
        char text[64] = {};
        EXPECT_TRUE(params().value_to_text(host.Plugin(), clap_id(id), plain, text, sizeof text));
        return text;
    }
    bool Value(int id, const std::string& text, double& plain) override
    {
        return params().text_to_value(host.Plugin(), clap_id(id), text.c_str(), &plain);
    }
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
        ASSERT_FALSE(::testing::Test::HasFailure());
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
        double low, high, tolerance;  // figures at the ends; dB, or a fraction for Hz
    } knobs[] = {{kOut, -15.0, 15.0, 0.0},       {kGainH, -13.31, 13.31, 0.2},  // at 10 kHz
                 {kGainM, -15.44, 15.44, 0.05},  {kGainL, -11.54, 11.53, 0.05},  // at 2.5 kHz, 30 Hz
                 {kHpf, 12.4, 269.0, 0.03},      {kLpf, 1100.0, 0.0, 0.03}};     // -3 dB corners
    for (const auto& k : knobs) {
        SCOPED_TRACE(k.id);
        const double min = calls->End(k.id, false), max = calls->End(k.id, true);
        const std::string low = calls->Text(k.id, min), high = calls->Text(k.id, max);
        if (k.id != kHpf && k.id != kLpf) {
            EXPECT_NEAR(Figure(low), k.low, k.tolerance + 0.05) << low;
            EXPECT_NEAR(Figure(high), k.high, k.tolerance + 0.05) << high;
            EXPECT_EQ(high[0], '+') << high;
            EXPECT_EQ(high.substr(high.size() - 3), " dB");
            // Flat reads as flat, without a sign.
            EXPECT_EQ(calls->Text(k.id, (min + max) / 2.0), k.id == kOut ? "0.00 dB" : "0.0 dB");
            continue;
        }
        EXPECT_EQ(low.substr(low.size() - 2), "Hz");
        EXPECT_NEAR(Figure(low), k.low, k.low * k.tolerance) << low;
        // Fully open, the LPF's corner lies beyond hearing (where the digital
        // filter's is pressed below the Nyquist rate).
        if (k.id == kHpf)
            EXPECT_NEAR(Figure(high), k.high, k.high * k.tolerance) << high;
        else
            EXPECT_GT(Figure(high), 20000.0) << high;
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
        const double min = calls->End(id, false), max = calls->End(id, true);
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
    // Each group of spellings finds one position: the nearest step's figure.
    const std::pair<int, std::vector<const char*>> spellings[] = {
        {kLpf, {"3100 Hz", "3.1k", "3.1 kHz", "3100", "3.1KHZ"}}, {kGainH, {"+6 dB", "6", "6dB"}},
        {kHpf, {"5 kHz", "262 Hz"}},  // beyond an end is that end
        {kOversampling, {"16x", "16\xC3\x97", "16"}}, {kBypass, {"bypassed", "Bypassed"}}};
    for (const auto& [id, texts] : spellings) {
        double first = 0.0, same = 0.0;
        ASSERT_TRUE(calls->Value(id, texts[0], first)) << texts[0];
        for (const char* text : texts) {
            ASSERT_TRUE(calls->Value(id, text, same)) << text;
            EXPECT_EQ(same, first) << text;
        }
    }

    const std::pair<int, const char*> refused[] = {
        {kOut, "loud"}, {kOut, ""},     {kOut, "3 Hz"},  {kHpf, "3 dB"},  {kHpf, "kHz"},         {kHpf, "0"},
        {kLpf, "-1k"},  {kGainM, "nan"}, {kGainL, "--1"}, {kBypass, "maybe"}, {kOversampling, "8x"}};
    for (const auto& [id, text] : refused) {
        double untouched = -123.0;
        EXPECT_FALSE(calls->Value(id, text, untouched)) << text;
        EXPECT_EQ(untouched, -123.0) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(BothFormats, KnobText, ::testing::Values(Format::kVst3, Format::kClap),
                         [](const ::testing::TestParamInfo<Format>& info) {
                             return info.param == Format::kVst3 ? "Vst3" : "Clap";
                         });
