// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_PngLoader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

TEST(PngLoader, SixteenBitSamplesKeepTheirHighByteWhateverTheLowByte)
{
    // Rounding to the nearest 8-bit value would give 0x11 for 0x10FF and
    // 0xEF for 0xF000.
    PngImage rgba;
    rgba.bitDepth = 16;
    rgba.colourType = 6;
    rgba.rows = {{0x10, 0xFF, 0xF0, 0x00, 0x00, 0x7F, 0x10, 0xFF}};
    auto b = Decode(EncodePng(rgba));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0x1010F000u);

    PngImage rgb;
    rgb.bitDepth = 16;
    rgb.colourType = 2;
    rgb.rows = {{0xF0, 0x00, 0x10, 0xFF, 0x80, 0x80}};
    b = Decode(EncodePng(rgb));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0xFFF01080u);

    PngImage grey;
    grey.width = 2;
    grey.bitDepth = 16;
    grey.colourType = 0;
    grey.rows = {{0x10, 0xFF, 0xF0, 0x00}};
    b = Decode(EncodePng(grey));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0xFF101010u);
    EXPECT_EQ(PixelAt(*b, 1, 0), 0xFFF0F0F0u);

    PngImage greyAlpha;
    greyAlpha.bitDepth = 16;
    greyAlpha.colourType = 4;
    greyAlpha.rows = {{0xF0, 0x00, 0x10, 0xFF}};
    b = Decode(EncodePng(greyAlpha));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0x10F0F0F0u);
}

TEST(PngLoader, TransparentGreyAndColourSamplesBecomeAlphaZero)
{
    PngImage grey;
    grey.width = 4;
    grey.bitDepth = 2;
    grey.colourType = 0;
    grey.rows = {{0x1B}};              // samples 0 1 2 3
    grey.transparency = {0x00, 0x02};  // sample 2 is transparent
    auto b = Decode(EncodePng(grey));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(*b, 1, 0), 0xFF555555u);
    EXPECT_EQ(PixelAt(*b, 2, 0), 0x00AAAAAAu);
    EXPECT_EQ(PixelAt(*b, 3, 0), 0xFFFFFFFFu);

    PngImage rgb;
    rgb.width = 2;
    rgb.colourType = 2;
    rgb.rows = {{10, 20, 30, 10, 20, 31}};
    rgb.transparency = {0, 10, 0, 20, 0, 30};
    b = Decode(EncodePng(rgb));
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0x000A141Eu);
    EXPECT_EQ(PixelAt(*b, 1, 0), 0xFF0A141Fu);
}

TEST(PngLoader, ShippedArtworkDecodesToTheSamePixelsOnEverySystem)
{
    // Size and a hash of every pixel word, as the libpng build decodes them.
    struct Expected {
        const char* name;
        int32_t width, height;
        uint64_t hash;
    };
    const Expected artwork[] = {
        {"bg.png", 300, 570, 0xc23942edd0b57b80ull},
        {"by.png", 151, 228, 0xcfdd1c3146dccde4ull},
        {"GainH.png", 83, 2511, 0x611bebbf02c495a4ull},
        {"GainL.png", 83, 2511, 0x49cf67d9259eed6cull},
        {"GainM.png", 83, 2511, 0x7a948bfd87738b07ull},
        {"HPF.png", 83, 2511, 0x0653d547aa046e21ull},
        {"LPF.png", 83, 2511, 0xf1bd63bf7c951ae2ull},
        {"OUT.png", 83, 2511, 0x5c3bbb1397a15647ull},
        {"OVER.png", 150, 50, 0xfbf236265baf4646ull},
    };
    for (const Expected& e : artwork) {
        auto b = PIX_LoadPngFromFile((std::string(KELDRA_ARTWORK_DIR) + "/" + e.name).c_str());
        ASSERT_TRUE(b) << e.name;
        EXPECT_EQ(b->Width(), e.width) << e.name;
        EXPECT_EQ(b->Height(), e.height) << e.name;
        EXPECT_EQ(PixelHash(*b), e.hash) << e.name;
    }
}
