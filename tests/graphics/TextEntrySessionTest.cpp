// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "graphics/TextEntrySession.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

using Tick = TextEntrySession::TickResult;

/// Records plain text handed over by an entry without a parameter.
class TextProbe : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    void AcceptEnteredText(const char* text) override { accepted.push_back(text); }
    std::vector<std::string> accepted;
};

struct TextEntrySessionTest : ::testing::Test {
    TestPlug plug;
    std::vector<std::string> events;
    TextProbe control{&plug, {0, 0, 10, 10}, kParamGain, events, "c"};
    TextEntrySession entry;

    IParamRecord* Param(int index) { return plug.GetParam(index); }
};

TEST_F(TextEntrySessionTest, OpensOnlyWithAControlAndOnlyOnce)
{
    EXPECT_FALSE(entry.Open(nullptr, Param(kParamGain)));
    EXPECT_FALSE(entry.IsOpen());
    ASSERT_TRUE(entry.Open(&control, Param(kParamGain)));
    EXPECT_EQ(entry.GetState(), TextEntrySession::kNone);
    EXPECT_FALSE(entry.Open(&control, nullptr));
    EXPECT_EQ(entry.Param(), Param(kParamGain));
}

TEST_F(TextEntrySessionTest, EventsMoveTheStateAsTheBoxAndEditorReportThem)
{
    ASSERT_TRUE(entry.Open(&control, Param(kParamGain)));
    entry.OnFocusGained();
    EXPECT_EQ(entry.GetState(), TextEntrySession::kEditing);
    entry.OnEditorButtonPress(false); // middle button while typing: ignored
    EXPECT_EQ(entry.GetState(), TextEntrySession::kEditing);
    entry.OnEditorButtonPress(true); // left or right while typing: cancel
    EXPECT_EQ(entry.GetState(), TextEntrySession::kCancel);
    entry.OnFocusLost();
    EXPECT_EQ(entry.GetState(), TextEntrySession::kCommit);
    entry.OnEscape();
    EXPECT_EQ(entry.GetState(), TextEntrySession::kCancel);
    entry.OnReturn();
    EXPECT_EQ(entry.GetState(), TextEntrySession::kCommit);
    entry.OnEditorWheel();
    EXPECT_EQ(entry.GetState(), TextEntrySession::kCancel);
    entry.OnRedrawn();
    EXPECT_EQ(entry.GetState(), TextEntrySession::kUpdate);
    entry.OnEditorButtonPress(false); // any button while not typing: commit
    EXPECT_EQ(entry.GetState(), TextEntrySession::kCommit);
    entry.Cancel();
    EXPECT_EQ(entry.GetState(), TextEntrySession::kCancel);
}

TEST_F(TextEntrySessionTest, EventsWithoutAnOpenEntryChangeNothing)
{
    entry.OnFocusGained();
    entry.OnReturn();
    entry.Cancel();
    EXPECT_EQ(entry.GetState(), TextEntrySession::kNone);
    EXPECT_EQ(entry.Tick("5"), Tick::kIdle);
}

TEST_F(TextEntrySessionTest, CommitAppliesTheNegatedNumberAsOneEditAndClosesTheEntry)
{
    // The gain parameter shows its value negated: "-6" means +6 dB.
    ASSERT_TRUE(entry.Open(&control, Param(kParamGain)));
    entry.OnReturn();
    EXPECT_EQ(entry.Tick("-6"), Tick::kClosed);
    EXPECT_FALSE(entry.IsOpen());
    EXPECT_EQ(entry.GetState(), TextEntrySession::kNone);
    EXPECT_NEAR(control.Value(), Param(kParamGain)->PlainToNormalized(6.0), 1e-12);
    ASSERT_GE(plug.log.size(), 3u);
    EXPECT_EQ(plug.log[plug.log.size() - 3], "begin 1");
    EXPECT_EQ(plug.log[plug.log.size() - 2].rfind("edit 1 ", 0), 0u);
    EXPECT_EQ(plug.log.back(), "end 1");
}

TEST_F(TextEntrySessionTest, CancelDiscardsTheTextAndClosesTheEntry)
{
    ASSERT_TRUE(entry.Open(&control, Param(kParamGain)));
    const double before = control.Value();
    entry.OnEscape();
    EXPECT_EQ(entry.Tick("12"), Tick::kClosed);
    EXPECT_FALSE(entry.IsOpen());
    EXPECT_EQ(control.Value(), before);
    EXPECT_TRUE(plug.log.empty());
    EXPECT_TRUE(entry.Open(&control, nullptr)); // a new entry can open
}

TEST_F(TextEntrySessionTest, PlainTextEntryHandsOverAtMostThirtyOneCharacters)
{
    ASSERT_TRUE(entry.Open(&control, nullptr));
    entry.OnReturn();
    const std::string longText(40, 'x');
    EXPECT_EQ(entry.Tick(longText), Tick::kClosed);
    ASSERT_EQ(control.accepted.size(), 1u);
    EXPECT_EQ(control.accepted[0], std::string(31, 'x'));
}

TEST_F(TextEntrySessionTest, ResetForgetsAnOpenEntryWithoutApplyingIt)
{
    ASSERT_TRUE(entry.Open(&control, Param(kParamGain)));
    entry.OnReturn();
    entry.Reset();
    EXPECT_FALSE(entry.IsOpen());
    EXPECT_EQ(entry.GetState(), TextEntrySession::kNone);
    EXPECT_EQ(entry.Tick("3"), Tick::kIdle);
    EXPECT_TRUE(plug.log.empty());
    EXPECT_TRUE(entry.Open(&control, Param(kParamGain)));
}

TEST_F(TextEntrySessionTest, ListParametersTakeTheValueOfTheExactDisplayTextOnly)
{
    double value = -1.0;
    EXPECT_TRUE(TextEntrySession::ValueFromText(*Param(kParamMode), "Hard", value));
    EXPECT_EQ(value, 2.0);
    EXPECT_FALSE(TextEntrySession::ValueFromText(*Param(kParamMode), "hard", value));
    EXPECT_EQ(value, 2.0); // case matters; no match is refused
    EXPECT_FALSE(TextEntrySession::ValueFromText(*Param(kParamMode), "2", value));
    EXPECT_EQ(value, 2.0); // a number is not a display text
}

TEST_F(TextEntrySessionTest, LeadingNumbersAreReadWithAPointInEveryLocaleAndOtherTextIsRefused)
{
    IParamRecord& level = *Param(kParamLevel);
    double value = -1.0;
    EXPECT_TRUE(TextEntrySession::ValueFromText(level, "0.5", value));
    EXPECT_EQ(value, 0.5);
    EXPECT_TRUE(TextEntrySession::ValueFromText(level, " +.25xyz", value));
    EXPECT_EQ(value, 0.25);
    EXPECT_TRUE(TextEntrySession::ValueFromText(level, "-3", value));
    EXPECT_EQ(value, -3.0);
    EXPECT_FALSE(TextEntrySession::ValueFromText(level, "abc", value));
    EXPECT_FALSE(TextEntrySession::ValueFromText(level, "", value));
    EXPECT_FALSE(TextEntrySession::ValueFromText(level, "--1", value));
    EXPECT_FALSE(TextEntrySession::ValueFromText(level, "-", value));
    EXPECT_EQ(value, -3.0);

    // A host running with a decimal comma must not turn "0.75" into 0.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        EXPECT_TRUE(TextEntrySession::ValueFromText(level, "0.75", value));
        EXPECT_EQ(value, 0.75);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST_F(TextEntrySessionTest, NonFiniteNumbersNeverReachTheParameter)
{
    double value = 7.0;
    EXPECT_FALSE(TextEntrySession::ValueFromText(*Param(kParamLevel), "inf", value));
    EXPECT_FALSE(TextEntrySession::ValueFromText(*Param(kParamLevel), "nan", value));
    EXPECT_EQ(value, 7.0);

    ASSERT_TRUE(entry.Open(&control, Param(kParamGain)));
    entry.OnReturn();
    EXPECT_EQ(entry.Tick("infinity"), Tick::kClosed);
    EXPECT_TRUE(plug.log.empty());
}

TEST_F(TextEntrySessionTest, CharacterFilterFollowsTheParameterKind)
{
    const IParamRecord* stepped = Param(kParamSwitch);   // integer
    const IParamRecord* list = Param(kParamMode);        // list
    const IParamRecord* continuous = Param(kParamLevel); // continuous
    for (char32_t c : {U'0', U'9', U'+', U'-', char32_t(8)}) {
        EXPECT_TRUE(TextEntrySession::AcceptsChar(stepped, c));
        EXPECT_TRUE(TextEntrySession::AcceptsChar(list, c));
        EXPECT_TRUE(TextEntrySession::AcceptsChar(continuous, c));
    }
    EXPECT_FALSE(TextEntrySession::AcceptsChar(stepped, U'.'));
    EXPECT_FALSE(TextEntrySession::AcceptsChar(list, U'.'));
    EXPECT_TRUE(TextEntrySession::AcceptsChar(continuous, U'.'));
    for (char32_t c : {U'a', U'Z', U' ', U',', U'e', U'\xE9'}) {
        EXPECT_FALSE(TextEntrySession::AcceptsChar(stepped, c));
        EXPECT_FALSE(TextEntrySession::AcceptsChar(continuous, c));
        EXPECT_TRUE(TextEntrySession::AcceptsChar(nullptr, c)); // plain text takes anything
    }
}

} // namespace
