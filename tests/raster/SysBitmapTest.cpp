// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_SysBitmap.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(SysBitmap, StartsEmptyWithADrawingContext)
{
    PIX_SysBitmap b;
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_NE(b.DeviceContext(), nullptr);
    EXPECT_FALSE(b.IsBottomUp());
    EXPECT_EQ(b.Extension(7, nullptr), 0);
}

TEST(SysBitmap, ReusesStorageWhenShrinkingAndReplacesItWhenGrowing)
{
    PIX_SysBitmap b;
    ASSERT_TRUE(b.Resize(300, 570));
    EXPECT_EQ(b.RowStride(), 300);
    uint32_t* first = b.Pixels();
    ASSERT_NE(first, nullptr);
    first[300 * 570 - 1] = 1;  // the whole area is usable

    ASSERT_TRUE(b.Resize(200, 100));
    EXPECT_EQ(b.Pixels(), first);
    EXPECT_EQ(b.RowStride(), 300);
    EXPECT_EQ(b.Width(), 200);
    EXPECT_EQ(b.Height(), 100);

    ASSERT_TRUE(b.Resize(301, 100));
    EXPECT_EQ(b.RowStride(), 304);
    EXPECT_EQ(b.Width(), 301);
    ASSERT_NE(b.Pixels(), nullptr);
    b.Pixels()[304 * 100 - 1] = 1;
}

TEST(SysBitmap, ResizeToTheCurrentSizeReturnsFalse)
{
    PIX_SysBitmap b;
    ASSERT_TRUE(b.Resize(8, 8));
    EXPECT_FALSE(b.Resize(8, 8));
    EXPECT_NE(b.Pixels(), nullptr);
}

TEST(SysBitmap, ResizeToZeroReleasesStorageAndReturnsFalse)
{
    PIX_SysBitmap b;
    ASSERT_TRUE(b.Resize(16, 16));
    std::fill(b.Pixels(), b.Pixels() + 16 * 16, 0xFFFFFFFFu);
    EXPECT_FALSE(b.Resize(0, 0));
    EXPECT_EQ(b.Pixels(), nullptr);
    // Growing again allocates afresh (the heap likely hands back the same
    // block): aligned rows, and cleared like a new system section.
    EXPECT_TRUE(b.Resize(13, 16));
    EXPECT_EQ(b.RowStride(), 16);
    ASSERT_NE(b.Pixels(), nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b.Pixels()) % 16, 0u);
    EXPECT_EQ(std::count(b.Pixels(), b.Pixels() + 16 * 16, 0u), 16 * 16);
}
