// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/PixelRect.h"

#include <gtest/gtest.h>

TEST(PixelRect, IsEmptyOnlyWhenAllFourEdgesAreZero)
{
    EXPECT_TRUE(PixelRect().IsEmpty());
    EXPECT_FALSE(PixelRect(5, 5, 5, 5).IsEmpty());  // no area, yet not "empty"
    EXPECT_FALSE(PixelRect(0, 0, 0, 1).IsEmpty());
}

TEST(PixelRect, ContainsIncludesLeftAndTopButNotRightAndBottom)
{
    const PixelRect r(10, 20, 30, 40);
    EXPECT_TRUE(r.Contains(10, 20));
    EXPECT_TRUE(r.Contains(29, 39));
    EXPECT_FALSE(r.Contains(30, 39));
    EXPECT_FALSE(r.Contains(29, 40));
    EXPECT_FALSE(r.Contains(9, 20));
    EXPECT_FALSE(PixelRect().Contains(0, 0));
}

TEST(PixelRect, UnionWithAnEmptyRectangleIsTheOtherOne)
{
    const PixelRect a(-2, 430, 149, 544);
    EXPECT_EQ(PixelRect().Union(a), a);
    EXPECT_EQ(a.Union(PixelRect()), a);
    // Only the all-zero rectangle is skipped: a zero-area one at (5, 5) still widens.
    EXPECT_EQ(PixelRect(5, 5, 5, 5).Union(PixelRect(10, 10, 20, 20)), PixelRect(5, 5, 20, 20));
    EXPECT_EQ(a.Union(PixelRect(0, 543, 150, 568)), PixelRect(-2, 430, 150, 568));
}

TEST(PixelRect, TouchingTheOthersLeftOrTopEdgeIntersects)
{
    const PixelRect area(0, 0, 100, 100);
    EXPECT_TRUE(area.Intersects(PixelRect(100, 10, 120, 20)));  // starts at area's right edge
    EXPECT_TRUE(area.Intersects(PixelRect(10, 100, 20, 120)));  // starts at area's bottom edge
    // The rule is not symmetric: ending exactly at the area's left or top edge does not.
    EXPECT_FALSE(area.Intersects(PixelRect(-20, 10, 0, 20)));
    EXPECT_FALSE(area.Intersects(PixelRect(10, -20, 20, 0)));
    EXPECT_FALSE(area.Intersects(PixelRect(101, 10, 120, 20)));
    EXPECT_FALSE(area.Intersects(PixelRect()));
    EXPECT_FALSE(PixelRect().Intersects(area));
}

TEST(PixelRect, IntersectionIsTheCommonPartOrAllZero)
{
    const PixelRect a(0, 0, 100, 100);
    EXPECT_EQ(a.Intersection(PixelRect(50, -10, 150, 60)), PixelRect(50, 0, 100, 60));
    EXPECT_EQ(a.Intersection(PixelRect(200, 200, 300, 300)), PixelRect());
    // Touching gives a zero-width strip, which draws nothing.
    const PixelRect touch = a.Intersection(PixelRect(100, 10, 120, 20));
    EXPECT_EQ(touch, PixelRect(100, 10, 100, 20));
    EXPECT_EQ(touch.W(), 0);
}
