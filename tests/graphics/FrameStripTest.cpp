// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/FrameStrip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

FrameStrip Strip(int width, int height, int frames, bool horizontal = false)
{
    FrameStrip s;
    s.width = width;
    s.height = height;
    s.frameCount = frames;
    s.horizontal = horizontal;
    return s;
}

}  // namespace

TEST(FrameStrip, FrameSizeDividesAlongTheStackingDirection)
{
    EXPECT_EQ(Strip(83, 2511, 31).FrameWidth(), 83);
    EXPECT_EQ(Strip(83, 2511, 31).FrameHeight(), 81);
    EXPECT_EQ(Strip(150, 50, 2).FrameHeight(), 25);
    EXPECT_EQ(Strip(151, 228, 2).FrameHeight(), 114);
    EXPECT_EQ(Strip(100, 7, 4, true).FrameWidth(), 25);
    EXPECT_EQ(Strip(100, 7, 4, true).FrameHeight(), 7);
}

TEST(FrameStrip, ValueSelectsFrameRoundedHalfUpAndClamped)
{
    const FrameStrip knob = Strip(83, 2511, 31);
    EXPECT_EQ(knob.FrameForValue(0.5), 16);
    EXPECT_EQ(knob.FrameForValue(0.0), 1);
    EXPECT_EQ(knob.FrameForValue(1.0), 31);
    EXPECT_EQ(knob.FrameForValue(1.0 / 60.0), 2);  // 0.5 of a frame step rounds up
    EXPECT_EQ(knob.FrameForValue(-0.5), 1);
    EXPECT_EQ(knob.FrameForValue(7.0), 31);
    EXPECT_EQ(knob.FrameForValue(std::numeric_limits<double>::quiet_NaN()), 1);
    EXPECT_EQ(knob.FrameForValue(1e300), 31);

    const FrameStrip twoFrames = Strip(151, 228, 2);
    EXPECT_EQ(twoFrames.FrameForValue(0.49), 1);
    EXPECT_EQ(twoFrames.FrameForValue(0.5), 2);
    EXPECT_EQ(Strip(300, 570, 1).FrameForValue(1.0), 1);
}

TEST(FrameStrip, SourceOffsetRoundsToTheNearestPixel)
{
    const FrameStrip knob = Strip(83, 2511, 31);
    EXPECT_EQ(knob.FrameOffset(1), 0);
    EXPECT_EQ(knob.FrameOffset(16), 1215);
    EXPECT_EQ(knob.FrameOffset(31), 2430);
    // 10 px in 3 frames: frame 2 starts at 3.33 → 3, frame 3 at 6.67 → 7.
    const FrameStrip uneven = Strip(4, 10, 3);
    EXPECT_EQ(uneven.FrameOffset(2), 3);
    EXPECT_EQ(uneven.FrameOffset(3), 7);
    EXPECT_EQ(Strip(10, 4, 3, true).FrameOffset(3), 7);
    EXPECT_EQ(Strip(300, 570, 1).FrameOffset(5), 0);
}
