// SPDX-License-Identifier: GPL-3.0-or-later
// Reducing with a box filter over exact coverage. (Enlarging is what a window
// at scale 2 shows of a control drawn straight into the surface: the X11 host's
// content-scale test.)
#include "TestBitmaps.h"
#include "raster/PIX_Resample.h"

#include <gtest/gtest.h>

#include <limits>

using testing_raster::VectorBitmap;

namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

/// A source whose columns below `edge` are black and the rest white.
VectorBitmap VerticalEdge(int width, int height, int edge, bool bottomUp = false)
{
    VectorBitmap bitmap(width, height, bottomUp, kBlack);
    for (int y = 0; y < height; ++y)
        for (int x = edge; x < width; ++x) bitmap.At(x, y) = kWhite;
    return bitmap;
}

uint32_t Grey(uint32_t level) { return 0xFF000000u | level << 16 | level << 8 | level; }

} // namespace

TEST(Resample, ReducingAveragesEachDestinationPixelsExactCoverage)
{
    // Ratio 2: 2 x 2 blocks, each byte on its own (rounded half up).
    VectorBitmap blocks(4, 2, false);
    blocks.At(0, 0) = 0x10203040u;
    blocks.At(1, 0) = 0x30405060u;
    blocks.At(0, 1) = 0x50607080u;
    blocks.At(1, 1) = 0x70809002u;
    VectorBitmap half(2, 1, true);
    PIX_Reduce(&half, {0, 0, 2, 1}, &blocks, 2.0);
    EXPECT_EQ(half.At(0, 0), 0x40506049u); // blue: 290 / 4 = 72.5 gives 73
    EXPECT_EQ(half.At(1, 0), 0x00000000u);

    // Ratio 1.5 over an edge after source column 3: pixel 1 covers [1.5, 3),
    // all black; pixel 2 covers [3, 4.5), one black and half a white pixel.
    // The last pixel covers only [4.5, 5) of the source and is its pixel 4.
    const VectorBitmap edge = VerticalEdge(5, 3, 4, true);
    VectorBitmap shown(4, 2, false, 0x12345678u);
    PIX_Reduce(&shown, {0, 0, 4, 2}, &edge, 1.5);
    EXPECT_EQ(shown.At(1, 0), kBlack);
    EXPECT_EQ(shown.At(2, 0), Grey(85));
    EXPECT_EQ(shown.At(3, 0), kWhite);
    EXPECT_EQ(shown.At(2, 1), Grey(85)); // the last row covers [1.5, 3) only

    // Only the area is written; a ratio below 1 or not finite writes nothing.
    VectorBitmap part(4, 2, false, 0x12345678u);
    PIX_Reduce(&part, {2, 1, 9, 9}, &edge, 1.5);
    EXPECT_EQ(part.At(1, 1), 0x12345678u);
    EXPECT_EQ(part.At(2, 0), 0x12345678u);
    EXPECT_EQ(part.At(2, 1), Grey(85));
    for (double ratio : {0.5, std::numeric_limits<double>::quiet_NaN()}) {
        PIX_Reduce(&part, {0, 0, 4, 2}, &edge, ratio);
        EXPECT_EQ(part.At(0, 0), 0x12345678u);
    }
}
