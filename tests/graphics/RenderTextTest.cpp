// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "raster/PIX_SysBitmap.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// A 60 × 20 white editor surface and a style in the font that is always installed.
struct RenderTextTest : ::testing::Test {
    IGraphicsOffscreen g{nullptr, 60, 20, 25};
    TextStyle style;

    void SetUp() override
    {
        g.PrepareDrawSurface();
        FillWith(*g.DrawSurface(), 0xFFFFFFFF);
        std::snprintf(style.face, sizeof style.face, "%s", "DejaVu Sans");
        style.size = 14;
    }

    int DarkPixels() const
    {
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 60; ++x) n += (PixelAt(*g.DrawSurface(), x, y) & 0xFF) < 0x80;
        return n;
    }
};

}  // namespace

TEST_F(RenderTextTest, DrawsTextIntoTheSurfaceAndEmptyTextDrawsNothing)
{
    EXPECT_TRUE(g.RenderText(style, "", {0, 0, 60, 20}));
    EXPECT_EQ(style.font, nullptr);  // no font is made for nothing
    EXPECT_EQ(DarkPixels(), 0);
    EXPECT_TRUE(g.RenderText(style, "Hi", {0, 0, 60, 20}));
    EXPECT_GT(DarkPixels(), 10);

    PixelRect extent{5, 2, 5, 2};
    EXPECT_TRUE(g.MeasureText(style, "Hi", extent));
    EXPECT_GT(extent.R, 5);
    EXPECT_GT(extent.B, 2);
}

TEST_F(RenderTextTest, FontsAreSharedByFaceSizeAndStyleButNotByColour)
{
    TextStyle red = style;
    red.color = {255, 255, 0, 0};
    TextStyle bold = style;
    bold.style = TextStyle::kStyleBold;
    TextStyle otherCase = style;
    std::snprintf(otherCase.face, sizeof otherCase.face, "%s", "dejavu sans");
    ASSERT_TRUE(g.RenderText(style, "a", {0, 0, 60, 20}));
    ASSERT_TRUE(g.RenderText(red, "a", {0, 0, 60, 20}));
    ASSERT_TRUE(g.RenderText(bold, "a", {0, 0, 60, 20}));
    ASSERT_TRUE(g.RenderText(otherCase, "a", {0, 0, 60, 20}));
    ASSERT_NE(style.font, nullptr);
    EXPECT_EQ(red.font, style.font);
    EXPECT_NE(bold.font, style.font);
    EXPECT_NE(otherCase.font, style.font);  // face names compare case-sensitively
}
