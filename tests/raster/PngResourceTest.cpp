// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestBitmaps.h"
#include "raster/PIX_PngLoader.h"

using namespace testing_raster;

// resource.png (2 x 1, RGBA (1, 2, 3, 4) and (16, 32, 48, 255)) is built in
// under id 4243.
TEST(PngResource, DecodesAResourceWhoseNameEndsInPngInAnyCase)
{
    auto b = PIX_LoadPngResource(4243, "knob.PNG");
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(*b, 0, 0), Argb(4, 1, 2, 3));
    EXPECT_EQ(PixelAt(*b, 1, 0), Argb(255, 16, 32, 48));
    EXPECT_TRUE(PIX_LoadPngResource(4243, "dir.v2/knob.png"));
}

TEST(PngResource, RefusesOtherExtensions)
{
    EXPECT_EQ(PIX_LoadPngResource(4243, "knob.bmp"), nullptr);
    EXPECT_EQ(PIX_LoadPngResource(4243, "knob"), nullptr);
    EXPECT_EQ(PIX_LoadPngResource(4243, "knob.png.bak"), nullptr);
    EXPECT_EQ(PIX_LoadPngResource(4243, nullptr), nullptr);
}

TEST(PngResource, UsesTheLow16BitsOfTheIdentifier)
{
    EXPECT_TRUE(PIX_LoadPngResource(4243 + 0x10000, "knob.png"));
    EXPECT_TRUE(PIX_LoadPngResource(4243 + 0x70000, "knob.png"));
    EXPECT_EQ(PIX_LoadPngResource(4244, "knob.png"), nullptr);
}
