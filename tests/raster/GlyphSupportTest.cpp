// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestBitmaps.h"
#include "raster/PIX_GlyphBlur.h"
#include "raster/PIX_Utf8.h"

using namespace testing_raster;

TEST(GlyphBlur, SpreadsEighthsAndMovesMissingSharesToTheOppositeNeighbour)
{
    auto b = Filled(3, 3, 0);
    PixelRef(*b, 1, 1) = 0xFFFFFFFF;
    pix::BlurArea(*b, 3, 3);
    EXPECT_EQ(PixelAt(*b, 1, 1), 0x7F7F7F7Fu);  // half of itself
    EXPECT_EQ(PixelAt(*b, 1, 0), 0x3F3F3F3Fu);  // top edge: the pixel below counts a quarter
    EXPECT_EQ(PixelAt(*b, 0, 1), 0x3F3F3F3Fu);  // left edge: the right neighbour counts a quarter
    EXPECT_EQ(PixelAt(*b, 0, 0), 0u);

    auto inner = Filled(4, 3, 0);
    PixelRef(*inner, 1, 1) = 0xFFFFFFFF;
    pix::BlurArea(*inner, 4, 3);
    EXPECT_EQ(PixelAt(*inner, 2, 1), 0x1F1F1F1Fu);  // an inner neighbour gets an eighth
}

TEST(GlyphBlur, LeavesThinAreasAlone)
{
    auto b = Filled(5, 1, 0);
    PixelRef(*b, 2, 0) = 0xFFFFFFFF;
    pix::BlurArea(*b, 5, 1);
    EXPECT_EQ(PixelAt(*b, 2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(*b, 1, 0), 0u);
}

TEST(Utf8, FindsOnlyWellFormedSequences)
{
    EXPECT_TRUE(pix::HasUtf8Sequence("caf\xC3\xA9", 5));
    EXPECT_TRUE(pix::HasUtf8Sequence("\xE2\x96\x88", 3));
    EXPECT_FALSE(pix::HasUtf8Sequence("caf\xE9", 4));       // Latin-1 byte
    EXPECT_FALSE(pix::HasUtf8Sequence("\xC3", 1));          // cut short
    EXPECT_FALSE(pix::HasUtf8Sequence("\xC0\x80", 2));      // never a lead byte
}

TEST(Utf8, StrictDecodingRejectsMalformedText)
{
    pix::CodePointText out;
    ASSERT_TRUE(pix::DecodeUtf8Strict("a\xC3\xA9\xF0\x9F\x8E\xB9", 7, out));
    ASSERT_EQ(out.Size(), 3);
    EXPECT_EQ(out.Data()[1], U'\u00E9');
    EXPECT_EQ(out.Data()[2], U'\U0001F3B9');
    EXPECT_FALSE(pix::DecodeUtf8Strict("\xE0\x80\xAF", 3, out));  // overlong
    EXPECT_FALSE(pix::DecodeUtf8Strict("\xED\xA0\x80", 3, out));  // surrogate
    EXPECT_FALSE(pix::DecodeUtf8Strict("\xF4\x90\x80\x80", 4, out));  // above U+10FFFF
}

TEST(Utf8, LenientDecodingKeepsStrayBytes)
{
    pix::CodePointText out;
    pix::DecodeUtf8Lenient("\xE9t\xC3\xA9", 4, out);
    ASSERT_EQ(out.Size(), 3);
    EXPECT_EQ(out.Data()[0], U'\u00E9');
    EXPECT_EQ(out.Data()[1], U't');
    EXPECT_EQ(out.Data()[2], U'\u00E9');
}

TEST(Utf8, LongTextsMoveToTheHeapInOrder)
{
    std::string text(3000, 'x');
    text[2999] = 'y';
    pix::CodePointText out;
    pix::DecodeBytes(text.data(), int32_t(text.size()), out);
    ASSERT_EQ(out.Size(), 3000);
    EXPECT_EQ(out.Data()[0], U'x');
    EXPECT_EQ(out.Data()[1500], U'x');
    EXPECT_EQ(out.Data()[2999], U'y');
}
