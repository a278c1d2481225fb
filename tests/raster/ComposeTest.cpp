// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_Compose.h"

#include <gtest/gtest.h>

#include "TestBitmaps.h"

using namespace testing_raster;

namespace {

// Composes one source pixel onto one destination pixel and returns the result.
uint32_t ComposeOne(uint32_t dest, uint32_t source, float weight, int32_t mode)
{
    auto d = Filled(1, 1, dest);
    auto s = Filled(1, 1, source);
    PIX_Compose(d.get(), s.get(), 0, 0, nullptr, weight, mode);
    return PixelAt(*d, 0, 0);
}

// A w x 1 source whose pixel x holds x + 1, to see which columns land where.
std::unique_ptr<PIX_MemBitmap> NumberedRow(int32_t w)
{
    auto s = Filled(w, 1, 0);
    for (int32_t x = 0; x < w; ++x) PixelRef(*s, x, 0) = uint32_t(x + 1);
    return s;
}

}  // namespace

TEST(Compose, SourceOverAtFullWeightBlendsByAlpha)
{
    const uint32_t halfRed = Argb(128, 255, 0, 0);
    // blue = green = 0 + trunc(255 * 127 / 256) = 126; alpha saturates.
    EXPECT_EQ(ComposeOne(0xFFFFFFFF, halfRed, 1.0f, kComposeSourceAlpha), Argb(255, 255, 126, 126));
    // Opaque source replaces the pixel, alpha included.
    EXPECT_EQ(ComposeOne(0x10203040, 0xFF0A0B0C, 1.0f, kComposeSourceAlpha), 0xFF0A0B0Cu);
    // Destination alpha rises by the source alpha: 16 + 128.
    EXPECT_EQ(ComposeOne(Argb(16, 0, 0, 0), halfRed, 1.0f, kComposeSourceAlpha) >> 24, 144u);
}

TEST(Compose, SourceOverAtHalfWeightUsesScaledAlpha)
{
    // f = trunc(129 * 128 / 256) = 64; blue = green = trunc(255 * 192 / 256) = 191.
    EXPECT_EQ(ComposeOne(0xFFFFFFFF, Argb(128, 255, 0, 0), 0.5f, kComposeSourceAlpha), Argb(255, 255, 191, 191));
}

TEST(Compose, TransparentSourceLeavesDestinationUnderAlphaModes)
{
    const uint32_t dest = Argb(200, 10, 20, 30);
    const uint32_t clear = Argb(0, 255, 255, 255);
    for (float weight : {1.0f, 0.5f, 0.3f}) {
        EXPECT_EQ(ComposeOne(dest, clear, weight, kComposeSourceAlpha | kComposeCopy), dest) << weight;
        EXPECT_EQ(ComposeOne(dest, clear, weight, kComposeSourceAlpha | kComposeAdd), dest) << weight;
        EXPECT_EQ(ComposeOne(dest, clear, weight, kComposeSourceAlpha | kComposeMultiply), dest) << weight;
    }
}

TEST(Compose, CopyAtHalfWeightAveragesWordsDroppingLowBits)
{
    EXPECT_EQ(ComposeOne(0xFFFFFFFF, 0x00000000, 0.5f, kComposeCopy), 0x7F7F7F7Fu);
    EXPECT_EQ(ComposeOne(0x01010101, 0x01010101, 0.5f, kComposeCopy), 0u);
}

TEST(Compose, CopyAtFullWeightCopiesRowsExactly)
{
    auto d = Filled(6, 3, 0);
    auto s = Filled(4, 2, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) PixelRef(*s, x, y) = Argb(x, y, 7, 9);
    PIX_Compose(d.get(), s.get(), 1, 1, nullptr, 1.0f, kComposeCopy);
    EXPECT_EQ(PixelAt(*d, 0, 1), 0u);
    EXPECT_EQ(PixelAt(*d, 1, 1), Argb(0, 0, 7, 9));
    EXPECT_EQ(PixelAt(*d, 4, 2), Argb(3, 1, 7, 9));
    EXPECT_EQ(PixelAt(*d, 5, 2), 0u);
    EXPECT_EQ(PixelAt(*d, 1, 0), 0u);
}

TEST(Compose, CopyAtOtherWeightsBlendsEveryByteTruncatingTowardZero)
{
    // w = 64: d = s + trunc((d - s) * 192 / 256); 0 toward 255 gives
    // 255 - 191 = 64 (flooring would give 63).
    EXPECT_EQ(ComposeOne(Argb(0, 200, 0, 200), Argb(255, 100, 255, 100), 0.25f, kComposeCopy),
              Argb(64, 175, 64, 175));
}

TEST(Compose, TinyAndZeroWeightsDrawNothing)
{
    EXPECT_EQ(ComposeOne(0x11223344, 0xFFFFFFFF, 0.001f, kComposeCopy), 0x11223344u);
    EXPECT_EQ(ComposeOne(0x11223344, 0xFFFFFFFF, 0.0f, kComposeCopy), 0x11223344u);
    EXPECT_EQ(ComposeOne(0x11223344, 0xFFFFFFFF, 0.0f, kComposeChannelCopy + 0x3), 0x11223344u);
    EXPECT_EQ(ComposeOne(0x11223344, 0xFFFFFFFF, -1.0f, kComposeAdd), 0x11223344u);
}

TEST(Compose, NegativeRectangleLeftMovesTheDestination)
{
    auto d = Filled(20, 1, 0);
    auto s = NumberedRow(4);
    const PIX_Rect r{-3, 0, 4, 1};
    PIX_Compose(d.get(), s.get(), 10, 0, &r, 1.0f, kComposeCopy);
    EXPECT_EQ(PixelAt(*d, 12, 0), 0u);
    EXPECT_EQ(PixelAt(*d, 13, 0), 1u);  // source column 0
    EXPECT_EQ(PixelAt(*d, 16, 0), 4u);
    EXPECT_EQ(PixelAt(*d, 17, 0), 0u);
}

TEST(Compose, NegativeXSkipsSourceColumns)
{
    auto d = Filled(30, 1, 0);
    auto s = NumberedRow(20);
    PIX_Compose(d.get(), s.get(), -5, 0, nullptr, 1.0f, kComposeCopy);
    EXPECT_EQ(PixelAt(*d, 0, 0), 6u);    // source column 5
    EXPECT_EQ(PixelAt(*d, 14, 0), 20u);  // source column 19
    EXPECT_EQ(PixelAt(*d, 15, 0), 0u);
}

TEST(Compose, NegativeYSkipsSourceRows)
{
    auto d = Filled(1, 4, 0);
    auto s = Filled(1, 3, 0);
    for (int y = 0; y < 3; ++y) PixelRef(*s, 0, y) = uint32_t(y + 1);
    PIX_Compose(d.get(), s.get(), 0, -2, nullptr, 1.0f, kComposeCopy);
    EXPECT_EQ(PixelAt(*d, 0, 0), 3u);
    EXPECT_EQ(PixelAt(*d, 0, 1), 0u);
}

TEST(Compose, RectangleBeyondTheSourceIsCutOrRejected)
{
    auto d = Filled(10, 1, 0);
    auto s = NumberedRow(4);
    const PIX_Rect wide{2, 0, 50, 1};
    PIX_Compose(d.get(), s.get(), 0, 0, &wide, 1.0f, kComposeCopy);
    EXPECT_EQ(PixelAt(*d, 0, 0), 3u);
    EXPECT_EQ(PixelAt(*d, 1, 0), 4u);
    EXPECT_EQ(PixelAt(*d, 2, 0), 0u);

    auto untouched = Filled(10, 1, 0);
    const PIX_Rect outside{5, 0, 9, 1};
    PIX_Compose(untouched.get(), s.get(), 0, 0, &outside, 1.0f, kComposeCopy);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelAt(*untouched, x, 0), 0u);
}

TEST(Compose, ClipsToTheDestinationEdges)
{
    auto d = Filled(4, 4, 0);
    auto s = Filled(8, 8, 0xABCDEF01);
    PIX_Compose(d.get(), s.get(), 2, 3, nullptr, 1.0f, kComposeCopy);
    EXPECT_EQ(PixelAt(*d, 3, 3), 0xABCDEF01u);
    EXPECT_EQ(PixelAt(*d, 1, 3), 0u);
    EXPECT_EQ(PixelAt(*d, 3, 2), 0u);
    // Positions at or past the edge draw nothing.
    auto e = Filled(4, 4, 0);
    PIX_Compose(e.get(), s.get(), 4, 0, nullptr, 1.0f, kComposeCopy);
    PIX_Compose(e.get(), s.get(), 0, 4, nullptr, 1.0f, kComposeCopy);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(PixelAt(*e, i % 4, i / 4), 0u);
}

TEST(Compose, NullOrEmptyOperandsDrawNothing)
{
    auto d = Filled(2, 2, 5);
    PIX_MemBitmap empty;
    PIX_Compose(d.get(), nullptr, 0, 0, nullptr, 1.0f, kComposeCopy);
    PIX_Compose(nullptr, d.get(), 0, 0, nullptr, 1.0f, kComposeCopy);
    PIX_Compose(d.get(), &empty, 0, 0, nullptr, 1.0f, kComposeCopy);
    PIX_Compose(&empty, d.get(), 0, 0, nullptr, 1.0f, kComposeCopy);
    EXPECT_EQ(PixelAt(*d, 1, 1), 5u);
}

TEST(Compose, ChannelCopyMovesOneByteAndIgnoresTheWeight)
{
    // 0xF3: destination byte 0 (blue) takes source byte 3 (alpha).
    EXPECT_EQ(ComposeOne(0x11223344, Argb(0xAB, 1, 2, 3), 0.3f, kComposeChannelCopy + 0x3), 0x112233ABu);
    // 0xF0 + 2 * 4 + 0: red takes blue.
    EXPECT_EQ(ComposeOne(0x11223344, Argb(0, 0, 0, 0x99), 1.0f, kComposeChannelCopy + 8), 0x11993344u);
}

TEST(Compose, UnlistedModesDrawNothing)
{
    EXPECT_EQ(ComposeOne(0x11223344, 0xFF808080, 1.0f, 7), 0x11223344u);
    EXPECT_EQ(ComposeOne(0x11223344, 0xFF808080, 1.0f, 7 | kComposeSourceAlpha), 0x11223344u);
    EXPECT_EQ(ComposeOne(0x11223344, 0xFF808080, 0.5f, 0xEF), 0x11223344u);
    // Bits outside the low byte and the flag are ignored.
    EXPECT_EQ(ComposeOne(0x11223344, 0xFF808080, 1.0f, 0x100), 0xFF808080u);
}

TEST(Compose, AddSaturates)
{
    // w = 128: 200 + 50 = 250; 200 + 127 saturates.
    EXPECT_EQ(ComposeOne(Argb(200, 200, 200, 0), Argb(100, 255, 0, 10), 0.5000001f, kComposeAdd) & 0xFFFFFF00,
              Argb(250, 255, 200, 0));
    EXPECT_EQ(ComposeOne(Argb(0, 0, 0, 0), Argb(0, 0, 0, 20), 1.0f, kComposeAdd), 20u);
}

TEST(Compose, DodgeDividesByTheInvertedSource)
{
    // q = 256 - 128 = 128: 100 * 256 / 128 = 200. q = 1: 1 -> 255, 0 stays 0.
    EXPECT_EQ(ComposeOne(Argb(0, 100, 1, 0), Argb(0, 128, 255, 255), 1.0f, kComposeDodge), Argb(0, 200, 255, 0));
}

TEST(Compose, MultiplyScalesByTheWeightedSource)
{
    // Full weight, source 128: 200 -> 100; source 0 -> 0. Weight 0.75, source 0: 200 -> 50.
    EXPECT_EQ(ComposeOne(Argb(200, 200, 200, 200), Argb(255, 128, 255, 0), 1.0f, kComposeMultiply),
              Argb(199, 100, 199, 0));  // 255 scales by 65280/65536
    EXPECT_EQ(ComposeOne(Argb(200, 200, 200, 200), 0, 0.75f, kComposeMultiply) & 0xFF, 50u);
}

TEST(Compose, OverlayKeepsMidGreyDarkensAndBrightens)
{
    // Source 128 keeps 200; source 0 gives 200^2 / 256 = 156; source 255
    // lifts 100 to 160.
    EXPECT_EQ(ComposeOne(Argb(0, 200, 200, 100), Argb(128, 128, 0, 255), 1.0f, kComposeOverlay),
              Argb(0, 200, 156, 160));
}

TEST(Compose, HsvAdjustShiftsHueAndValue)
{
    const uint32_t red = Argb(255, 255, 0, 0);
    // Neutral source (128, 128, 128) keeps the colour; alpha comes from the source.
    EXPECT_EQ(ComposeOne(red, Argb(0x40, 128, 128, 128), 1.0f, kComposeHsvAdjust), Argb(0x40, 255, 0, 0));
    // Red 170 turns hue by 63 of 384 steps: green rises to 251.
    EXPECT_EQ(ComposeOne(red, Argb(255, 170, 128, 128), 1.0f, kComposeHsvAdjust), Argb(255, 255, 251, 0));
    // Blue 0 drops the value to black.
    EXPECT_EQ(ComposeOne(red, Argb(255, 128, 128, 0), 1.0f, kComposeHsvAdjust), Argb(255, 0, 0, 0));
}

TEST(Compose, SourceAlphaScalesAddDodgeAndMultiply)
{
    // a = 127, w = 256: k = 128.
    EXPECT_EQ(ComposeOne(Argb(0, 10, 10, 10), Argb(127, 200, 0, 0), 1.0f, kComposeSourceAlpha | kComposeAdd),
              Argb(63, 110, 10, 10));
    // f = 128, source 255: q = 129; 100 * 256 / 129 = 198.
    EXPECT_EQ(ComposeOne(Argb(0, 100, 0, 0), Argb(127, 255, 0, 0), 1.0f, kComposeSourceAlpha | kComposeDodge) &
                  0x00FF0000,
              Argb(0, 198, 0, 0));
    // f = 128, source 0: 200 -> 100.
    EXPECT_EQ(ComposeOne(Argb(0, 200, 0, 0), Argb(127, 0, 0, 0), 1.0f, kComposeSourceAlpha | kComposeMultiply) &
                  0x00FF0000,
              Argb(0, 100, 0, 0));
    // An opaque source under overlay with source alpha acts at full weight.
    EXPECT_EQ(ComposeOne(Argb(0, 200, 0, 0), Argb(255, 0, 0, 0), 1.0f, kComposeSourceAlpha | kComposeOverlay) &
                  0x00FF0000,
              Argb(0, 156, 0, 0));
}

TEST(Compose, BottomUpOperandsWalkRowsBackwards)
{
    VectorBitmap source(1, 3, true);
    for (int y = 0; y < 3; ++y) source.At(0, y) = uint32_t(y + 1);
    VectorBitmap dest(1, 3, true);
    const PIX_Rect rows{0, 1, 1, 3};
    PIX_Compose(&dest, &source, 0, 0, &rows, 1.0f, kComposeCopy);
    EXPECT_EQ(dest.At(0, 0), 2u);
    EXPECT_EQ(dest.At(0, 1), 3u);
    EXPECT_EQ(dest.At(0, 2), 0u);
    // Logical row 0 of a bottom-up bitmap is its last stored row.
    EXPECT_EQ(dest.Pixels()[2], 2u);

    auto topDown = Filled(1, 3, 0);
    PIX_Compose(topDown.get(), &source, 0, 0, nullptr, 0.5f, kComposeCopy);
    EXPECT_EQ(PixelAt(*topDown, 0, 0), 0u);  // (1 >> 1)
    EXPECT_EQ(PixelAt(*topDown, 0, 2), 1u);  // (3 >> 1)
}
