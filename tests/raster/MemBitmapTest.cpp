// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_MemBitmap.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(MemBitmap, StartsEmptyWithoutStorage)
{
    PIX_MemBitmap b;
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_EQ(b.RowStride(), 0);
    EXPECT_FALSE(b.IsBottomUp());
    EXPECT_EQ(b.DeviceContext(), nullptr);
    EXPECT_EQ(b.Extension(1, nullptr), 0);
}

TEST(MemBitmap, PadsRowsToFourPixels)
{
    PIX_MemBitmap b;
    ASSERT_TRUE(b.Resize(5, 2));
    EXPECT_EQ(b.RowStride(), 8);
    ASSERT_TRUE(b.Resize(8, 2));
    EXPECT_EQ(b.RowStride(), 8);
    ASSERT_TRUE(b.Resize(0, 2));
    EXPECT_EQ(b.RowStride(), 0);
}

TEST(MemBitmap, ResizeToTheCurrentSizeReturnsFalseAndKeepsStorage)
{
    PIX_MemBitmap b;
    ASSERT_TRUE(b.Resize(10, 10));
    uint32_t* before = b.Pixels();
    EXPECT_FALSE(b.Resize(10, 10));
    EXPECT_EQ(b.Pixels(), before);
}

TEST(MemBitmap, PixelsStartOnA64ByteBoundary)
{
    PIX_MemBitmap b;
    for (int w = 1; w < 40; w += 7) {
        ASSERT_TRUE(b.Resize(w, w + 1));
        EXPECT_EQ(reinterpret_cast<uintptr_t>(b.Pixels()) % 64, 0u) << w;
    }
}

TEST(MemBitmap, GrowsWithQuarterHeadroomAndNeverShrinks)
{
    PIX_MemBitmap b;
    ASSERT_TRUE(b.Resize(10, 10));
    EXPECT_EQ(b.Capacity(), 480);  // 10 rows of 12 pixels
    ASSERT_TRUE(b.Resize(10, 11));  // needs 528 bytes
    EXPECT_EQ(b.Capacity(), 660);
    ASSERT_TRUE(b.Resize(10, 13));  // 624 still fits
    EXPECT_EQ(b.Capacity(), 660);
    ASSERT_TRUE(b.Resize(2, 2));
    EXPECT_EQ(b.Capacity(), 660);
    EXPECT_EQ(b.Width(), 2);
    // The whole reported area is writable (ASan checks this run).
    for (int i = 0; i < b.Height() * b.RowStride(); ++i) b.Pixels()[i] = 0xFFu;
}

TEST(MemBitmap, NonPositiveSizeReleasesStorage)
{
    for (const int32_t width : {0, -4}) {
        PIX_MemBitmap b;
        ASSERT_TRUE(b.Resize(4, 4));
        EXPECT_TRUE(b.Resize(width, width == 0 ? 0 : 4)) << width;
        EXPECT_EQ(b.Pixels(), nullptr);
        EXPECT_EQ(b.Width(), 0);
        EXPECT_EQ(b.Height(), 0);
        EXPECT_EQ(b.Capacity(), 0);
    }
}

TEST(MemBitmap, SizeWhoseByteCountOverflowsGetsNoStorage)
{
    // 70000 x 70000 x 4 bytes wraps a 32-bit count; it must not turn into a
    // small block that the rows would overrun.
    PIX_MemBitmap b;
    EXPECT_TRUE(b.Resize(70000, 70000));
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
}
