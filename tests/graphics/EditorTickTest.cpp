// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "graphics/EditorTick.h"

#include <gtest/gtest.h>

namespace {

struct EditorTickTest : ::testing::Test {
    TestPlug plug;
    std::vector<std::string> events;
    RecordingGraphics g{&plug, 100, 100};
    ProbeControl* knob = nullptr;
    TextEntrySession entry;

    void SetUp() override
    {
        Attach<ProbeControl>(g, &plug, PixelRect{0, 0, 100, 100}, -1, events, "bg");
        knob = Attach<ProbeControl>(g, &plug, PixelRect{10, 20, 30, 40}, kParamLevel, events, "k");
        g.PrepareDrawSurface();
        g.DrawArea({0, 0, 100, 100}); // everything clean
    }
};

TEST_F(EditorTickTest, NothingDirtyMeansNothingToDraw)
{
    const EditorTickOutcome outcome = RunEditorTick(g, entry, "");
    EXPECT_FALSE(outcome.redraw);
    EXPECT_FALSE(outcome.closeEntryBox);
}

TEST_F(EditorTickTest, DirtyControlsGiveTheirAreaOnce)
{
    knob->MarkDirty(false);
    EditorTickOutcome outcome = RunEditorTick(g, entry, "");
    ASSERT_TRUE(outcome.redraw);
    EXPECT_EQ(outcome.area, (PixelRect{10, 20, 30, 40}));
    g.DrawArea(outcome.area);
    outcome = RunEditorTick(g, entry, "");
    EXPECT_FALSE(outcome.redraw);
}

TEST_F(EditorTickTest, RedrawUnderAnOpenBoxSettlesOnTheNextTick)
{
    ASSERT_TRUE(entry.Open(knob, plug.GetParam(kParamLevel)));
    knob->MarkDirty(false);
    EXPECT_TRUE(RunEditorTick(g, entry, "").redraw);
    EXPECT_EQ(entry.GetState(), TextEntrySession::kUpdate);
    // Still dirty (not drawn), but this tick only settles the update.
    EXPECT_FALSE(RunEditorTick(g, entry, "").redraw);
    EXPECT_EQ(entry.GetState(), TextEntrySession::kNone);
    EXPECT_TRUE(RunEditorTick(g, entry, "").redraw);
}

TEST_F(EditorTickTest, NothingIsRedrawnWhileTheUserTypes)
{
    ASSERT_TRUE(entry.Open(knob, plug.GetParam(kParamLevel)));
    entry.OnFocusGained();
    knob->MarkDirty(false);
    for (int i = 0; i < 3; ++i) {
        const EditorTickOutcome outcome = RunEditorTick(g, entry, "0.3");
        EXPECT_FALSE(outcome.redraw);
        EXPECT_FALSE(outcome.closeEntryBox);
    }
}

TEST_F(EditorTickTest, CommitAppliesTheTextAndAsksToCloseTheBox)
{
    ASSERT_TRUE(entry.Open(knob, plug.GetParam(kParamLevel)));
    entry.OnFocusGained();
    entry.OnReturn();
    const EditorTickOutcome outcome = RunEditorTick(g, entry, "0.5");
    EXPECT_TRUE(outcome.closeEntryBox);
    EXPECT_FALSE(outcome.redraw);
    EXPECT_DOUBLE_EQ(knob->Value(), 0.5);
    // The changed knob is drawn by the following tick.
    EXPECT_TRUE(RunEditorTick(g, entry, "").redraw);
}

TEST(EditorTickPeriod, IsTheTruncatedFramePeriodInMilliseconds)
{
    EXPECT_EQ(EditorTickPeriodMs(25), 40);
    EXPECT_EQ(EditorTickPeriodMs(30), 33);
    EXPECT_EQ(EditorTickPeriodMs(60), 16);
    EXPECT_EQ(EditorTickPeriodMs(2000), 1);
    EXPECT_EQ(EditorTickPeriodMs(0), 1000);
}

} // namespace
