// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_DrawContext.h"

#include <gtest/gtest.h>

#include "TestBitmaps.h"
#include "TextTestSupport.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_SysBitmap.h"
#include "raster/PIX_TextFormat.h"

using namespace testing_raster;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

class DrawContextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        font = TestFont(16);
        ASSERT_TRUE(font) << "no system font installed";
        ASSERT_TRUE(surface.Resize(120, 60));
        PIX_Fill(&surface, 0, 0, 120, 60, kWhite, 1.0f, kComposeCopy);
        dc = surface.DeviceContext();
        dc->SelectFont(font.get());
        dc->SetBkMode(kBkModeTransparent);
    }
    std::unique_ptr<PIX_PlatformFont> font;
    PIX_SysBitmap surface;
    PIX_DrawContext* dc = nullptr;
};

}  // namespace

TEST(PlatformFont, FindsAnInstalledFaceForAMissingFamily)
{
    PIX_FontSpec request;
    request.face = "Verdana";  // falls back to what is installed
    request.height = 12;
    auto font = PIX_PlatformFont::Create(request);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->Height(), 12);
    EXPECT_GT(font->Advance(U'W'), 0);
    EXPECT_EQ(font->Advance(U'\n'), 0);
    request.height = 0;
    EXPECT_FALSE(PIX_PlatformFont::Create(request));
}

TEST(PlatformFont, OneBitGlyphsHaveOnlyFullOrNoCoverage)
{
    auto font = TestFont(20, false);
    ASSERT_TRUE(font);
    PIX_PlatformFont::Coverage glyph;
    ASSERT_TRUE(font->RenderGlyph(U'S', glyph));
    int full = 0;
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x) {
            const uint8_t v = glyph.rows[y * glyph.pitch + x];
            EXPECT_TRUE(v == 0 || v == 255);
            full += v == 255;
        }
    EXPECT_GT(full, 10);
}

TEST_F(DrawContextTest, MeasuresLinesWithoutDrawing)
{
    const char32_t text[] = U"ab\ncd";
    PIX_Rect r{5, 7, 0, 0};
    EXPECT_EQ(dc->DrawCodePoints(text, 5, r, DT_CALCRECT), 32);
    EXPECT_EQ(r.bottom, 7 + 32);
    EXPECT_EQ(r.right, 5 + font->Advance(U'a') + font->Advance(U'b'));
    PIX_Rect single{0, 0, 0, 0};
    EXPECT_EQ(dc->DrawCodePoints(text, 5, single, DT_CALCRECT | DT_SINGLELINE), 16);
    EXPECT_EQ(CountEqual(surface, kWhite), 120 * 60);
}

TEST_F(DrawContextTest, DrawsTheTextColourInsideTheRectangleOnly)
{
    dc->SetTextColor(0x102030);
    const char32_t text[] = U"\u2588\u2588\u2588\u2588";  // full blocks
    PIX_Rect r{10, 10, 30, 40};
    dc->DrawCodePoints(text, 4, r, DT_SINGLELINE);
    const PIX_Rect ink = InkBox(surface, kWhite);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 30);
    EXPECT_GE(ink.top, 10);
    EXPECT_GT(CountEqual(surface, 0xFF102030), 50);

    PIX_Rect free{60, 10, 62, 12};
    dc->DrawCodePoints(text, 1, free, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkBox(surface, kWhite).right, 62);
}

TEST_F(DrawContextTest, AlignsTextInTheRectangle)
{
    dc->SetTextColor(0);
    const char32_t text[] = U"\u2588";
    const int32_t w = font->Advance(U'\u2588');
    PIX_Rect r{0, 0, 120, 60};
    EXPECT_EQ(dc->DrawCodePoints(text, 1, r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM), 60);
    PIX_Rect ink = InkBox(surface, kWhite);
    EXPECT_NEAR(ink.right, 120, 2);
    EXPECT_GE(ink.left, 120 - w - 1);
    EXPECT_NEAR(ink.bottom, 60, 5);

    PIX_Fill(&surface, 0, 0, 120, 60, kWhite, 1.0f, kComposeCopy);
    dc->DrawCodePoints(text, 1, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    ink = InkBox(surface, kWhite);
    EXPECT_NEAR((ink.left + ink.right) / 2, 60, 2);
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 30, 4);
}

TEST_F(DrawContextTest, OpaqueModeFillsTheTextBoxWithTheBackground)
{
    dc->SetBkMode(kBkModeOpaque);
    dc->SetBkColor(0x00FF00);
    const char32_t text[] = U"i";
    PIX_Rect r{0, 0, 120, 60};
    dc->DrawCodePoints(text, 1, r, DT_SINGLELINE);
    // The whole cell (advance x line height) is green or ink, nothing beyond it.
    EXPECT_EQ(InkBox(surface, kWhite).right, font->Advance(U'i'));
    EXPECT_EQ(InkBox(surface, kWhite).bottom, 16);
    EXPECT_GT(CountEqual(surface, 0xFF00FF00), 16);
}

TEST_F(DrawContextTest, DrawsNothingWithoutAFont)
{
    dc->SelectFont(nullptr);
    const char32_t text[] = U"abc";
    PIX_Rect r{0, 0, 100, 50};
    EXPECT_EQ(dc->DrawCodePoints(text, 3, r, 0), 0);
    EXPECT_EQ(dc->LineHeight(), 0);
    EXPECT_EQ(CountEqual(surface, kWhite), 120 * 60);
}
