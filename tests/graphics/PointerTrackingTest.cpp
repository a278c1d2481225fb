// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer decisions of window hosts: tooltip tracking and double clicks.
#include "graphics/DoubleClickDetector.h"
#include "graphics/TooltipTracker.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t kHover = TooltipTracker::kHoverTimeMs;

TEST(TooltipTracker, ShowsAfterThePointerRestsOnAControl)
{
    TooltipTracker tips;
    EXPECT_FALSE(tips.OnPointerMoved(3, 1000));
    EXPECT_EQ(tips.TrackedIndex(), 3);
    EXPECT_FALSE(tips.HoverDue(1000 + kHover - 1));
    EXPECT_TRUE(tips.HoverDue(1000 + kHover));
    EXPECT_TRUE(tips.IsShown());
    EXPECT_FALSE(tips.HoverDue(5000)); // once only
}

TEST(TooltipTracker, MovingWithinTheControlRestartsTheRest)
{
    TooltipTracker tips;
    tips.OnPointerMoved(2, 0);
    tips.OnPointerMoved(2, kHover - 10);
    EXPECT_FALSE(tips.HoverDue(kHover + 5));
    EXPECT_TRUE(tips.HoverDue(2 * kHover - 10));
}

TEST(TooltipTracker, AnotherControlHidesAShowingTooltip)
{
    TooltipTracker tips;
    tips.OnPointerMoved(1, 0);
    ASSERT_TRUE(tips.HoverDue(kHover));
    EXPECT_FALSE(tips.OnPointerMoved(1, kHover + 1)); // same control: stays
    EXPECT_TRUE(tips.IsShown());
    EXPECT_TRUE(tips.OnPointerMoved(4, kHover + 2));
    EXPECT_FALSE(tips.IsShown());
    EXPECT_TRUE(tips.HoverDue(2 * kHover + 2)); // the new control's own tooltip
}

TEST(TooltipTracker, NoControlNeverShowsAndLeavingForgetsTheRest)
{
    TooltipTracker tips;
    tips.OnPointerMoved(-1, 0);
    EXPECT_FALSE(tips.HoverDue(10 * kHover));
    tips.OnPointerMoved(5, 0);
    tips.OnPointerLeft();
    EXPECT_FALSE(tips.HoverDue(10 * kHover));
    tips.OnPointerMoved(5, 0);
    ASSERT_TRUE(tips.HoverDue(kHover));
    EXPECT_TRUE(tips.Hide()); // a press hides it
    EXPECT_FALSE(tips.Hide());
    tips.Reset();
    EXPECT_EQ(tips.TrackedIndex(), -1);
}

TEST(DoubleClickDetector, SecondPressWithinTimeAndPlaceIsADoubleClick)
{
    DoubleClickDetector d;
    EXPECT_FALSE(d.OnLeftPress(1000, 50, 50));
    EXPECT_TRUE(d.OnLeftPress(1000 + DoubleClickDetector::kTimeMs, 52, 48));
    // A third press starts over.
    EXPECT_FALSE(d.OnLeftPress(1100 + DoubleClickDetector::kTimeMs, 52, 48));
}

TEST(DoubleClickDetector, TooLateOrTooFarIsANewPress)
{
    DoubleClickDetector d;
    d.OnLeftPress(0, 10, 10);
    EXPECT_FALSE(d.OnLeftPress(DoubleClickDetector::kTimeMs + 1, 10, 10));
    EXPECT_FALSE(d.OnLeftPress(2 * DoubleClickDetector::kTimeMs + 2, 10 + 3, 10));
    EXPECT_TRUE(d.OnLeftPress(2 * DoubleClickDetector::kTimeMs + 3, 13, 10));
}

TEST(DoubleClickDetector, ResetAndClockWrapStartOver)
{
    DoubleClickDetector d;
    d.OnLeftPress(100, 0, 0);
    d.Reset(); // another button went down between
    EXPECT_FALSE(d.OnLeftPress(150, 0, 0));
    EXPECT_FALSE(d.OnLeftPress(40, 0, 0)); // time went backwards
}

} // namespace
