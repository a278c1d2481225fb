// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_PngLoader.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "TestBitmaps.h"
#include "TestPng.h"

using namespace testing_raster;

namespace {

std::unique_ptr<PIX_MemBitmap> Decode(const std::vector<uint8_t>& png)
{
    return PIX_LoadPngFromMemory(png.data(), int32_t(png.size()));
}

// A 9 x 7 RGB image whose every pixel differs, to compare layouts.
PngImage Pattern(bool interlaced)
{
    PngImage image;
    image.width = 9;
    image.height = 7;
    image.colourType = 2;
    image.interlaced = interlaced;
    for (uint32_t y = 0; y < image.height; ++y) {
        std::vector<uint8_t> row;
        for (uint32_t x = 0; x < image.width; ++x) {
            row.push_back(uint8_t(x * 20));
            row.push_back(uint8_t(y * 30));
            row.push_back(uint8_t(x * y + 1));
        }
        image.rows.push_back(row);
    }
    return image;
}

}  // namespace

TEST(PngLoader, OneBitGreyBecomesOpaqueBlackAndWhite)
{
    PngImage image;
    image.width = 3;
    image.height = 2;
    image.bitDepth = 1;
    image.colourType = 0;
    image.rows = {{0xA0}, {0x40}};  // 1 0 1 / 0 1 0
    auto b = Decode(EncodePng(image));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Width(), 3);
    EXPECT_EQ(b->Height(), 2);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(*b, 1, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(*b, 2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(*b, 0, 1), 0xFF000000u);
    EXPECT_EQ(PixelAt(*b, 1, 1), 0xFFFFFFFFu);
}

TEST(PngLoader, PaletteKeepsPerEntryAlphaOnlyWithATransparencyChunk)
{
    PngImage image;
    image.width = 3;
    image.bitDepth = 8;
    image.colourType = 3;
    image.paletteRgb = {255, 0, 0, 0, 0, 255, 0, 128, 0};
    image.rows = {{0, 1, 2}};
    auto opaque = Decode(EncodePng(image));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(PixelAt(*opaque, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(*opaque, 1, 0), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(*opaque, 2, 0), 0xFF008000u);

    image.transparency = {0x40, 0x00};  // the third entry stays opaque
    auto alpha = Decode(EncodePng(image));
    ASSERT_TRUE(alpha);
    EXPECT_EQ(PixelAt(*alpha, 0, 0), 0x40FF0000u);
    EXPECT_EQ(PixelAt(*alpha, 1, 0), 0x000000FFu);  // straight alpha keeps the colour
    EXPECT_EQ(PixelAt(*alpha, 2, 0), 0xFF008000u);
}

TEST(PngLoader, SixteenBitKeepsTheHighByteAndSeparateAlpha)
{
    PngImage image;
    image.bitDepth = 16;
    image.colourType = 6;
    image.rows = {{0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00}};
    auto b = Decode(EncodePng(image));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0x80FF0000u);
}

TEST(PngLoader, GreyAlphaBecomesEqualColoursWithItsAlpha)
{
    PngImage image;
    image.width = 2;
    image.colourType = 4;
    image.rows = {{0x33, 0x99, 0xF0, 0x00}};
    auto b = Decode(EncodePng(image));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0x99333333u);
    EXPECT_EQ(PixelAt(*b, 1, 0), 0x00F0F0F0u);
}

TEST(PngLoader, InterlacedImageEqualsItsPlainEquivalent)
{
    auto plain = Decode(EncodePng(Pattern(false)));
    auto interlaced = Decode(EncodePng(Pattern(true)));
    ASSERT_TRUE(plain);
    ASSERT_TRUE(interlaced);
    ASSERT_EQ(interlaced->Width(), 9);
    EXPECT_EQ(plain->RowStride(), 12);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) {
            EXPECT_EQ(PixelAt(*interlaced, x, y), PixelAt(*plain, x, y)) << x << "," << y;
            EXPECT_EQ(PixelAt(*plain, x, y), Argb(255, x * 20, y * 30, x * y + 1));
        }
}

TEST(PngLoader, ShortBlocksAndBadSignaturesAreRefused)
{
    const std::vector<uint8_t> good = EncodePng(Pattern(false));
    EXPECT_EQ(PIX_LoadPngFromMemory(good.data(), 7), nullptr);
    EXPECT_EQ(PIX_LoadPngFromMemory(nullptr, 100), nullptr);
    std::vector<uint8_t> bad = good;
    bad[0] = 0x88;
    EXPECT_EQ(Decode(bad), nullptr);
}

TEST(PngLoader, TruncatedImageDataYieldsNothing)
{
    const std::vector<uint8_t> png = EncodePng(Pattern(false));
    // Every cut inside the header or image data fails (the trailing end
    // chunk is never read, so the last 12 bytes are not needed).
    for (size_t length = 8; length + 12 < png.size(); ++length)
        EXPECT_EQ(PIX_LoadPngFromMemory(png.data(), int32_t(length)), nullptr) << length;
    EXPECT_NE(Decode(png), nullptr);
}

TEST(PngLoader, ChunkClaimingMoreBytesThanTheBlockHoldsYieldsNothing)
{
    // After the header (8 + 25 bytes) comes a text chunk that claims almost
    // 2 GB but the block ends a few bytes later.
    std::vector<uint8_t> png = EncodePng(Pattern(false));
    png.resize(33);
    const uint8_t header[] = {0x7F, 0xFF, 0xFF, 0x00, 't', 'E', 'X', 't', 'a', 'b', 'c'};
    png.insert(png.end(), header, header + sizeof header);
    EXPECT_EQ(Decode(png), nullptr);
}

TEST(PngLoader, CorruptImageDataYieldsNothing)
{
    std::vector<uint8_t> png = EncodePng(Pattern(false));
    // Flip bytes in the middle of the compressed data: the checksum or the
    // inflater rejects it.
    for (size_t i = 45; i < 55 && i < png.size(); ++i) png[i] ^= 0x5A;
    EXPECT_EQ(Decode(png), nullptr);
}

TEST(PngLoader, FileDecoderReadsIntoNewAndSuppliedBitmaps)
{
    const std::string path = WriteTempFile(EncodePng(Pattern(false)), ".png");
    auto b = PIX_LoadPngFromFile(path.c_str());
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 8, 6), Argb(255, 160, 180, 49));

    // A bottom-up bitmap gets the first image row in its last stored row.
    VectorBitmap bottomUp(1, 1, true);
    ASSERT_TRUE(PIX_LoadPngFromFileInto(path.c_str(), bottomUp));
    EXPECT_EQ(bottomUp.Width(), 9);
    EXPECT_EQ(bottomUp.At(8, 6), Argb(255, 160, 180, 49));
    EXPECT_EQ(bottomUp.Pixels()[6 * 9], Argb(255, 0, 0, 1));
    std::remove(path.c_str());

    EXPECT_EQ(PIX_LoadPngFromFile("/nonexistent/folder/image.png"), nullptr);
}

TEST(PngLoader, FileDecoderKeepsASuppliedBitmapOnFailure)
{
    std::vector<uint8_t> png = EncodePng(Pattern(false));
    png.resize(png.size() / 2);
    const std::string path = WriteTempFile(png, ".png");
    VectorBitmap target(2, 2, false);
    EXPECT_FALSE(PIX_LoadPngFromFileInto(path.c_str(), target));
    std::remove(path.c_str());
}
