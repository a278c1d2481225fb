// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestBitmaps.h"
#include "raster/PIX_Compose.h"

using namespace testing_raster;

namespace {
uint32_t FillOne(uint32_t dest, uint32_t colour, float weight, int32_t mode)
{
    auto d = Filled(1, 1, dest);
    PIX_Fill(d.get(), 0, 0, 1, 1, colour, weight, mode);
    return PixelAt(*d, 0, 0);
}
}  // namespace

TEST(Fill, FullWeightCopyWritesTheColourWord)
{
    EXPECT_EQ(FillOne(0x12345678, 0xFF00FF00, 1.0f, kComposeCopy), 0xFF00FF00u);
    // Copy keeps the colour's own alpha, even a transparent one.
    EXPECT_EQ(FillOne(0x12345678, 0x00000000, 1.0f, kComposeCopy), 0u);
}

TEST(Fill, PartialWeightMovesAlphaTowardTheWeight)
{
    // w = 76 stands in for the colour's alpha: 255 -> 76 + trunc(179 * 180 / 256) = 201;
    // green 0 -> 255 - trunc(255 * 180 / 256) = 76.
    EXPECT_EQ(FillOne(0xFF000000, 0xFF00FF00, 0.3f, kComposeCopy), Argb(201, 0, 76, 0));
}

TEST(Fill, QuarterHalfAndThreeQuarterWeightsUseMaskedWordSums)
{
    EXPECT_EQ(FillOne(0xFFFFFFFF, 0, 0.5f, kComposeCopy), 0x7F7F7F7Fu);
    EXPECT_EQ(FillOne(0xFFFFFFFF, 0, 0.25f, kComposeCopy), 0xBEBEBEBEu);
    EXPECT_EQ(FillOne(0xFFFFFFFF, 0, 0.75f, kComposeCopy), 0x3F3F3F3Fu);
    EXPECT_EQ(FillOne(0, 0xFFFFFFFF, 0.75f, kComposeCopy), 0xBEBEBEBEu);
}

TEST(Fill, SourceAlphaScalesTheWeightByTheColourAlpha)
{
    EXPECT_EQ(FillOne(0x12345678, 0x00FFFFFF, 1.0f, kComposeSourceAlpha), 0x12345678u);
    // Colour alpha 255 keeps weight 1.0 and the exact copy.
    EXPECT_EQ(FillOne(0x12345678, 0xFF102030, 1.0f, kComposeSourceAlpha), 0xFF102030u);
    // Colour alpha 128: weight 128/255 -> w = 128 -> masked average.
    EXPECT_EQ(FillOne(0xFFFFFFFF, 0x80000000, 1.0f, kComposeSourceAlpha), 0x7F7F7F7Fu + 0x40000000u);
}

TEST(Fill, OtherModesUseTheWeightAsAlpha)
{
    // Add with w = 128: 100 + 50; alpha 10 + 64.
    EXPECT_EQ(FillOne(Argb(10, 100, 100, 100), Argb(0, 100, 0, 0), 0.5f, kComposeAdd), Argb(74, 150, 100, 100));
    // Multiply with w = 256 by a 128 grey halves; the alpha byte (256) keeps it.
    EXPECT_EQ(FillOne(Argb(200, 200, 200, 200), Argb(0, 128, 128, 128), 1.0f, kComposeMultiply),
              Argb(200, 100, 100, 100));
    // Unlisted and channel-copy modes draw nothing.
    EXPECT_EQ(FillOne(0x11223344, 0xFFFFFFFF, 1.0f, 6), 0x11223344u);
    EXPECT_EQ(FillOne(0x11223344, 0xFFFFFFFF, 1.0f, kComposeChannelCopy + 3), 0x11223344u);
}

TEST(Fill, HsvAdjustAtFullWeightLeavesAnOpaquePixel)
{
    // The weight 256 stands in for alpha; it saturates to 255 instead of
    // wrapping to a transparent 0.
    EXPECT_EQ(FillOne(Argb(0, 255, 0, 0), Argb(0, 128, 128, 128), 1.0f, kComposeHsvAdjust), Argb(255, 255, 0, 0));
    EXPECT_EQ(FillOne(Argb(0, 255, 0, 0), Argb(0, 128, 128, 128), 0.5f, kComposeHsvAdjust) >> 24, 128u);
}

TEST(Fill, ClipsNegativeOriginsAndEdges)
{
    auto d = Filled(4, 3, 0);
    PIX_Fill(d.get(), -2, -1, 4, 2, 0xFFFFFFFF, 1.0f, kComposeCopy);
    EXPECT_EQ(PixelAt(*d, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(*d, 1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(*d, 2, 0), 0u);
    EXPECT_EQ(PixelAt(*d, 0, 1), 0u);

    PIX_Fill(d.get(), 3, 2, 100, 100, 7, 1.0f, kComposeCopy);
    EXPECT_EQ(PixelAt(*d, 3, 2), 7u);
    EXPECT_EQ(PixelAt(*d, 2, 2), 0u);
}

TEST(Fill, RectanglesOutsideOrEmptyDrawNothing)
{
    auto d = Filled(4, 4, 9);
    PIX_Fill(d.get(), 4, 0, 2, 2, 1, 1.0f, kComposeCopy);
    PIX_Fill(d.get(), 0, 4, 2, 2, 1, 1.0f, kComposeCopy);
    PIX_Fill(d.get(), -3, 0, 3, 2, 1, 1.0f, kComposeCopy);
    PIX_Fill(d.get(), 0, 0, 0, 2, 1, 1.0f, kComposeCopy);
    PIX_Fill(d.get(), 0, 0, 2, 2, 1, 0.0f, kComposeCopy);
    PIX_Fill(nullptr, 0, 0, 2, 2, 1, 1.0f, kComposeCopy);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(PixelAt(*d, i % 4, i / 4), 9u);
}

TEST(Fill, BottomUpRowsAreFilledWhereTheyAreStored)
{
    VectorBitmap b(1, 4, true);
    PIX_Fill(&b, 0, 1, 1, 2, 5, 1.0f, kComposeCopy);
    EXPECT_EQ(b.At(0, 0), 0u);
    EXPECT_EQ(b.At(0, 1), 5u);
    EXPECT_EQ(b.At(0, 2), 5u);
    EXPECT_EQ(b.At(0, 3), 0u);
}
