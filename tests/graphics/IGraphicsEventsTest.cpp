// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "raster/PIX_SysBitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Background "bg" (unbound) over 0..100; "a" on the level parameter at
// (10, 10, 30, 30); "b" on the gain parameter at (20, 20, 40, 40), in front of "a".
struct EventsTest : ::testing::Test {
    TestPlug plug;
    std::vector<std::string> events;
    RecordingGraphics g{&plug, 100, 100};
    ProbeControl* bg = nullptr;
    ProbeControl* a = nullptr;
    ProbeControl* b = nullptr;

    void SetUp() override
    {
        bg = Add({0, 0, 100, 100}, -1, "bg");
        a = Add({10, 10, 30, 30}, kParamLevel, "a");
        b = Add({20, 20, 40, 40}, kParamGain, "b");
    }

    ProbeControl* Add(PixelRect rect, int paramIdx, const char* name)
    {
        return Attach<ProbeControl>(g, &plug, rect, paramIdx, events, name);
    }

    using Log = std::vector<std::string>;
};

}  // namespace

TEST_F(EventsTest, PressCoveredOnlyByTheBackgroundSendsNoGesture)
{
    g.HandleMouseDown(80, 80, kLeftButton);
    g.HandleMouseUp(80, 80, {});
    EXPECT_EQ(events, (Log{"bg press 80,80", "bg release 80,80"}));
    EXPECT_TRUE(plug.log.empty());
}

TEST_F(EventsTest, FrontmostControlTakesThePressAndBracketsItWithAGesture)
{
    g.HandleMouseDown(25, 25, kLeftButton);
    EXPECT_EQ(g.CapturedIndex(), 2);
    g.HandleMouseUp(25, 25, {});
    EXPECT_EQ(events, (Log{"b press 25,25", "b release 25,25"}));
    EXPECT_EQ(plug.log, (Log{"begin 1", "end 1"}));
    EXPECT_EQ(g.CapturedIndex(), -1);
}

TEST_F(EventsTest, RightButtonOnABoundControlOpensTheHostMenuInsteadOfAPress)
{
    g.HandleMouseDown(12, 13, kRightButton);
    EXPECT_EQ(plug.log, Log{"menu 0 12 13"});
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(g.CapturedIndex(), -1);
    g.HandleMouseDrag(15, 15, kRightButton);  // nothing captured: nothing delivered
    EXPECT_TRUE(events.empty());

    g.HandleMouseDown(80, 80, kRightButton);  // unbound: an ordinary press
    EXPECT_EQ(events, Log{"bg press 80,80 right"});
    EXPECT_EQ(plug.log.size(), 1u);
}

TEST_F(EventsTest, EveryGestureEndsOnceAndOnlyAfterItBegan)
{
    // The host's menu took the right press: its release ends nothing.
    g.HandleMouseDown(12, 12, kRightButton);
    g.HandleMouseUp(12, 12, {});
    // A press that lost its capture ends its own gesture, wherever it is released.
    g.HandleMouseDown(12, 12, kLeftButton);
    g.ReleaseCapture();
    g.HandleMouseUp(25, 25, {});
    // A press whose release never came is ended by the next press.
    g.HandleMouseDown(25, 25, kLeftButton);
    g.HandleMouseDown(12, 12, kLeftButton);
    g.HandleMouseUp(12, 12, {});
    EXPECT_EQ(plug.log, (Log{"menu 0 12 12", "begin 0", "end 0", "begin 1", "end 1", "begin 0", "end 0"}));
    EXPECT_EQ(events, (Log{"a release 12,12", "a press 12,12", "b release 25,25", "b press 25,25",
                           "a press 12,12", "a release 12,12"}));
}

TEST_F(EventsTest, DragDeltasAreRelativeToTheLastDeliveredPosition)
{
    g.HandleMouseDrag(12, 12, kLeftButton);  // no press yet
    g.HandleMouseDown(12, 12, kLeftButton);
    g.HandleMouseDrag(12, 12, kLeftButton);  // same pixel: swallowed
    g.HandleMouseDrag(15, 11, kLeftButton);
    g.HandleMouseDrag(15, 11, kLeftButton);  // swallowed again
    g.HandleMouseDrag(90, 90, kLeftButton);  // outside the control: capture keeps it
    g.HandleMouseUp(95, 95, {});
    EXPECT_EQ(events, (Log{"a press 12,12", "a drag 15,11 by 3,-1", "a drag 90,90 by 75,79",
                           "a release 95,95"}));
    EXPECT_EQ(plug.log, (Log{"begin 0", "end 0"}));
}

TEST_F(EventsTest, HiddenAndGreyedControlsAreNotHit)
{
    b->SetHidden(true);
    g.HandleMouseDown(25, 25, kLeftButton);
    a->SetGreyed(true);
    g.HandleMouseDown(25, 25, kLeftButton);
    EXPECT_EQ(events, (Log{"a press 25,25", "bg press 25,25"}));
}

TEST_F(EventsTest, DoubleClickSendsNoGestureAndMayActAsAPress)
{
    g.HandleDoubleClick(12, 12, kLeftButton);
    EXPECT_EQ(events, Log{"a double"});
    EXPECT_EQ(g.CapturedIndex(), -1);

    a->SetDblClickAsPress(true);
    g.HandleDoubleClick(12, 12, kLeftButton);
    EXPECT_EQ(g.CapturedIndex(), 1);
    g.HandleMouseDrag(14, 12, kLeftButton);
    EXPECT_EQ(events, (Log{"a double", "a press 12,12", "a drag 14,12 by 2,0"}));
    EXPECT_TRUE(plug.log.empty());
}

TEST_F(EventsTest, WheelFollowsTheCaptureAndJoinsThePressGesture)
{
    g.HandleMouseWheel(25, 25, {}, -1);
    g.HandleMouseDown(12, 12, kLeftButton);
    g.HandleMouseWheel(90, 90, {}, 2);
    EXPECT_EQ(events, (Log{"b wheel -1", "a press 12,12", "a wheel 2"}));
    // The free turn is a gesture of its own; the one during the press is not.
    EXPECT_EQ(plug.log, (Log{"begin 1", "end 1", "begin 0"}));
}

TEST_F(EventsTest, AWheelGestureEndsAtOnceWhenThePointerLeavesItsControlOrAnotherGestureBegins)
{
    g.HandleMouseWheel(12, 12, {}, 1);
    g.HandleMouseWheel(12, 12, {}, 1);
    g.HandlePointerOver(14, 14, {});  // still on "a": the turn goes on
    EXPECT_EQ(plug.log, Log{"begin 0"});
    g.HandlePointerOver(80, 80, {});  // off "a", with hover tracking off
    g.HandleMouseWheel(12, 12, {}, 1);
    g.HandleMouseWheel(25, 25, {}, 1);  // another control
    g.HandlePointerOut();
    g.HandleMouseWheel(12, 12, {}, 1);
    g.HandleMouseDown(12, 12, kLeftButton);  // a press on the same parameter
    g.HandleMouseUp(12, 12, {});
    g.HandleMouseWheel(25, 25, {}, 1);
    g.EndWheelGesture();  // the window closes
    g.EndWheelGesture();
    EXPECT_EQ(plug.log, (Log{"begin 0", "end 0", "begin 0", "end 0", "begin 1", "end 1", "begin 0",
                             "end 0", "begin 0", "end 0", "begin 1", "end 1"}));
}

TEST_F(EventsTest, PointerOverNeedsHoverTrackingAndReportsLeavingTheLastControl)
{
    EXPECT_FALSE(g.HandlePointerOver(12, 12, {}));
    EXPECT_TRUE(events.empty());

    g.SetTrackHover(true);
    EXPECT_TRUE(g.HandlePointerOver(12, 12, {}));
    EXPECT_TRUE(g.HandlePointerOver(25, 25, {}));
    EXPECT_EQ(g.HoverIndex(), 2);
    EXPECT_TRUE(g.HandlePointerOver(200, 200, {}));  // nothing there: nothing changes
    EXPECT_EQ(g.HoverIndex(), 2);
    EXPECT_EQ(events, (Log{"a over 12,12", "b over 25,25", "a out"}));

    events.clear();
    a->SetGreyed(true);
    g.HandlePointerOver(12, 12, {});
    a->SetHoverWhenGreyed(true);
    g.HandlePointerOver(13, 12, {});
    EXPECT_EQ(events, (Log{"bg over 12,12", "b out", "a over 13,12", "bg out"}));

    events.clear();
    g.HandlePointerOut();
    EXPECT_EQ(events, (Log{"bg out", "a out", "b out"}));
    EXPECT_EQ(g.HoverIndex(), -1);
}

TEST_F(EventsTest, KeysOverTheBackgroundFallBackToTheKeyCatcher)
{
    EXPECT_FALSE(g.HandleKeyDown(80, 80, 5));  // no catcher: unhandled
    EXPECT_FALSE(g.HandleKeyDown(12, 12, 6));  // "a" does not take keys
    std::vector<std::string> caught;
    auto catcher = std::make_unique<ProbeControl>(&plug, PixelRect{}, -1, caught, "catcher");
    catcher->takesKeys = true;
    g.SetKeyCatcher(std::move(catcher));
    EXPECT_TRUE(g.HandleKeyDown(80, 80, 7));
    EXPECT_TRUE(g.HandleKeyDown(500, 500, 8));
    EXPECT_FALSE(g.HandleKeyDown(12, 12, 9));
    EXPECT_EQ(events, (Log{"a key 6", "a key 9"}));
    EXPECT_EQ(caught, (Log{"catcher key 7", "catcher key 8"}));
}

TEST_F(EventsTest, ValuesFromThePluginReachEveryBoundControlAndTheFirstAuxEntry)
{
    ProbeControl* twin = Add({50, 50, 60, 60}, kParamLevel, "twin");
    const int aux0 = bg->AddAuxParam(kParamLevel);
    const int aux1 = bg->AddAuxParam(kParamLevel);
    g.SetParameterFromPlugin(kParamLevel, 0.7, true);
    EXPECT_EQ(a->Value(), 0.7);
    EXPECT_EQ(twin->Value(), 0.7);
    EXPECT_EQ(bg->Aux(aux0)->value, 0.7);
    EXPECT_EQ(bg->Aux(aux1)->value, 0.0);
    EXPECT_EQ(b->DefaultValue(), -1.0);  // other parameters untouched

    g.SetParameterFromPlugin(kParamGain, 0.0, false);  // plain 0 dB of −15..15
    EXPECT_DOUBLE_EQ(b->Value(), 0.5);
    g.SetParameterFromPlugin(kParamGain, 99.0, false);  // clamped by the parameter
    EXPECT_DOUBLE_EQ(b->Value(), 1.0);
    g.SetParameterFromPlugin(kParamGain, std::numeric_limits<double>::infinity(), true);
    g.SetParameterFromPlugin(kParamGain, std::nan(""), false);
    EXPECT_DOUBLE_EQ(b->Value(), 1.0);
    g.SetParameterFromPlugin(42, 1.0, false);  // no such parameter: ignored
    EXPECT_TRUE(plug.log.empty());
}

TEST_F(EventsTest, ResizeDropsTheControlsAndRebuildsTheSurface)
{
    g.SetTrackHover(true);
    g.HandlePointerOver(12, 12, {});
    g.HandleMouseDown(12, 12, kLeftButton);
    g.Resize(64, 48);
    EXPECT_EQ(g.ControlCount(), 0);
    EXPECT_EQ(g.CapturedIndex(), -1);
    EXPECT_EQ(g.HoverIndex(), -1);
    ASSERT_NE(g.DrawSurface(), nullptr);
    EXPECT_EQ(g.DrawSurface()->Width(), 64);
    EXPECT_EQ(g.DrawSurface()->Height(), 48);
    EXPECT_EQ(plug.log.back(), "resize 64 48");
    // Stale indices are gone: new events find no control and do not crash.
    EXPECT_TRUE(g.HandlePointerOver(12, 12, {}));
    g.HandleMouseDrag(20, 20, kLeftButton);
    g.HandleMouseUp(20, 20, {});
}
