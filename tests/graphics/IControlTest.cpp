// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "graphics/IControl.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct ControlTest : ::testing::Test {
    TestPlug plug;
    std::vector<std::string> events;

    std::unique_ptr<ProbeControl> Make(int paramIdx, PixelRect rect = {10, 10, 20, 20})
    {
        return std::make_unique<ProbeControl>(&plug, rect, paramIdx, events, "c");
    }
};

}  // namespace

TEST_F(ControlTest, FirstValueFromPluginBecomesTheDefaultWithoutFurtherEffect)
{
    auto c = Make(kParamLevel);
    EXPECT_EQ(c->DefaultValue(), -1.0);
    EXPECT_TRUE(c->NeedsRedraw());  // dirty from construction
    c->SetValueFromPlugin(0.25);
    EXPECT_EQ(c->DefaultValue(), 0.25);
    EXPECT_EQ(c->Value(), 0.25);
    c->SetValueFromPlugin(0.75);
    EXPECT_EQ(c->DefaultValue(), 0.25);
    EXPECT_EQ(c->Value(), 0.75);
    EXPECT_TRUE(plug.log.empty());  // values from the plug-in are never written back
}

TEST_F(ControlTest, SameValueFromPluginLeavesTheControlClean)
{
    auto c = Make(kParamLevel);
    c->SetValueFromPlugin(0.4);
    c->MarkClean();
    ASSERT_FALSE(c->NeedsRedraw());
    c->SetValueFromPlugin(0.4);
    EXPECT_FALSE(c->NeedsRedraw());

    // A change is drawn on two consecutive passes.
    c->SetValueFromPlugin(0.6);
    EXPECT_TRUE(c->NeedsRedraw());
    c->MarkClean();
    EXPECT_TRUE(c->NeedsRedraw());
    c->MarkClean();
    EXPECT_FALSE(c->NeedsRedraw());
}

TEST_F(ControlTest, NaNFromPluginCountsAsAChange)
{
    auto c = Make(kParamLevel);
    c->SetValueFromPlugin(0.4);
    c->MarkClean();
    c->SetValueFromPlugin(std::nan(""));
    EXPECT_TRUE(c->NeedsRedraw());
}

TEST_F(ControlTest, MarkDirtyClampsAndWritesEvenWhenTheValueDidNotChange)
{
    auto c = Make(kParamLevel);
    c->SetValueFromUser(1.5);
    EXPECT_EQ(c->Value(), 1.0);
    c->MarkDirty(true);
    ASSERT_EQ(plug.log.size(), 2u);
    EXPECT_EQ(plug.log[0], "edit 0 1.000000");
    EXPECT_EQ(plug.log[1], "edit 0 1.000000");
    EXPECT_DOUBLE_EQ(plug.GetParam(kParamLevel)->Value(), 1.0);

    c->SetClamp(0.2, 0.8);
    c->SetValueFromUser(0.1);
    EXPECT_EQ(c->Value(), 0.2);
    c->MarkDirty(false);
    EXPECT_EQ(plug.log.size(), 3u);  // no write without pushToPlugin

    auto unbound = Make(-1);
    unbound->SetValueFromUser(0.5);
    EXPECT_EQ(plug.log.size(), 3u);
}

TEST_F(ControlTest, AuxValuesMarkDirtyOnlyOnChange)
{
    auto c = Make(-1);
    const int aux = c->AddAuxParam(kParamGain);
    c->MarkClean();
    c->SetAuxValueFromPlugin(aux, 0.0);  // entries start at 0
    EXPECT_FALSE(c->NeedsRedraw());
    c->SetAuxValueFromPlugin(aux, 0.3);
    EXPECT_EQ(c->Aux(aux)->value, 0.3);
    EXPECT_TRUE(c->NeedsRedraw());
    c->SetAuxValueFromPlugin(7, 0.9);  // no such entry: ignored
    EXPECT_EQ(c->Aux(7), nullptr);
}

TEST_F(ControlTest, DoubleClickRestoresTheDefaultOnlyWhenOneIsKnown)
{
    auto c = std::make_unique<ProbeControl>(&plug, PixelRect{0, 0, 5, 5}, kParamLevel, events, "c");
    c->IControl::OnDoubleClick(1, 1, {});
    EXPECT_EQ(c->Value(), 0.0);
    EXPECT_TRUE(plug.log.empty());

    c->SetValueFromPlugin(0.25);
    c->SetValueFromUser(0.9);
    plug.log.clear();
    c->IControl::OnDoubleClick(1, 1, {});
    EXPECT_EQ(c->Value(), 0.25);
    EXPECT_EQ(plug.log, std::vector<std::string>{"edit 0 0.250000"});
}

TEST_F(ControlTest, ValuePromptIsOffByDefault)
{
    RecordingGraphics g(&plug, 300, 570);
    const int i = g.AppendControl(Make(kParamGain, {182, 62, 265, 143}));
    g.Control(i)->IControl::OnPress(200, 100, kRightButton);
    EXPECT_EQ(g.entryControl, nullptr);
    EXPECT_TRUE(g.menuItems.empty());
}

TEST_F(ControlTest, ValuePromptWithoutTextsIsASmallBoxAroundTheCentre)
{
    RecordingGraphics g(&plug, 300, 570);
    const int i = g.AppendControl(Make(kParamGain, {182, 62, 265, 143}));
    IControl* c = g.Control(i);
    c->SetPromptOff(false);
    c->MarkClean();
    c->IControl::OnPress(200, 100, kRightButton);
    EXPECT_EQ(g.entryControl, c);
    EXPECT_EQ(g.promptRect, PixelRect(203, 94, 243, 110));
    EXPECT_EQ(g.entryText, "-3.00");  // 3 dB shown negated with two decimals
    c->MarkDirty(false);
    c->MarkClean();
    EXPECT_TRUE(c->NeedsRedraw());  // the prompt asks for a second pass
}

TEST_F(ControlTest, ValuePromptOfAListParameterRunsAMenuOverTheControl)
{
    RecordingGraphics g(&plug, 300, 570);
    const int i = g.AppendControl(Make(kParamMode, {30, 40, 90, 60}));
    IControl* c = g.Control(i);
    c->SetPromptOff(false);
    g.menuChoice = 2;
    c->RequestValuePrompt();
    EXPECT_EQ(g.promptRect, PixelRect(30, 40, 90, 60));
    EXPECT_EQ(g.menuItems, (std::vector<std::string>{"Soft", "Warm*", "Hard"}));
    EXPECT_EQ(c->Value(), 1.0);  // index 2 of 0..2
    EXPECT_EQ(plug.log, std::vector<std::string>{"edit 3 1.000000"});
    EXPECT_EQ(plug.GetParam(kParamMode)->Value(), 2.0);

    g.menuChoice = -1;
    c->RequestValuePrompt();
    EXPECT_EQ(plug.log.size(), 1u);  // nothing chosen, nothing written
}

TEST_F(ControlTest, BooleanPromptIsATextEntryUntilItHasTextsThenAMenuCheckingTheShownValue)
{
    IParamRecord* flag = plug.GetParam(kParamSwitch);
    flag->SetKind(IParamRecord::kKindEnum);
    RecordingGraphics g(&plug, 300, 570);
    IControl* c = g.Control(g.AppendControl(Make(kParamSwitch, {0, 0, 10, 10})));
    c->SetPromptOff(false);
    c->RequestValuePrompt();
    EXPECT_EQ(g.entryText, "1");  // precision 0: a whole number
    EXPECT_TRUE(g.menuItems.empty());

    // One text, for value 1: one item, for index 0, which has no text. The
    // value 0 reads "0", so that text-less item is not checked.
    flag->AddDisplayText(1, "On");
    flag->SetPlain(0.0);
    c->RequestValuePrompt();
    EXPECT_EQ(g.menuItems, std::vector<std::string>{""});
}

TEST_F(ControlTest, PromptNeedsControlParameterAndRectangle)
{
    RecordingGraphics g(&plug, 300, 570);
    const int i = g.AppendControl(Make(kParamGain));
    g.PromptValueEntry(nullptr, plug.GetParam(kParamGain), {1, 1, 5, 5});
    g.PromptValueEntry(g.Control(i), nullptr, {1, 1, 5, 5});
    g.PromptValueEntry(g.Control(i), plug.GetParam(kParamGain), {});
    EXPECT_EQ(g.entryControl, nullptr);
}
