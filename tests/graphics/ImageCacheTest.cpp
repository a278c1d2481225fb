// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "graphics/IBitmapControl.h"
#include "graphics/ImageCache.h"
#include "raster/PIX_SysBitmap.h"

#include <gtest/gtest.h>

// The cache is process-wide, so every test uses resource ids of its own. The
// embedded test images: 9101/9102 bg.png (16 × 16, R 10 G 20 B 30), 9103..9105
// strip.png (4 × 12: red, green, blue frames of 4 × 4).

TEST(ImageCache, OneImageIsDecodedOnceForTwoEditors)
{
    RecordingGraphics first(nullptr, 20, 20);
    RecordingGraphics second(nullptr, 20, 20);
    const FrameStrip a = first.LoadFrameStrip(9103, "resources/img/strip.png", 3);
    const FrameStrip b = second.LoadFrameStrip(9103, "resources/img/strip.png", 3);
    EXPECT_EQ(first.imageLoads + second.imageLoads, 1);
    ASSERT_NE(a.image, nullptr);
    EXPECT_EQ(a.image, b.image);
    EXPECT_EQ(a.width, 4);
    EXPECT_EQ(a.height, 12);
    EXPECT_EQ(a.frameCount, 3);
    EXPECT_FALSE(a.horizontal);
    EXPECT_EQ(PixelAt(*a.image, 0, 4), 0xFF00C800u);  // second frame, decoded
}

TEST(ImageCache, LookupIsByIdentifierAlone)
{
    RecordingGraphics g(nullptr, 20, 20);
    const FrameStrip a = g.LoadFrameStrip(9104, "strip.png", 3);
    const FrameStrip b = g.LoadFrameStrip(9104, "another-name.png", 1);
    EXPECT_EQ(g.imageLoads, 1);
    EXPECT_EQ(a.image, b.image);
    EXPECT_EQ(b.frameCount, 1);
}

TEST(ImageCache, ConcurrentDecodesKeepTheFirstImageForEveryone)
{
    ImageCache& cache = ImageCache::Instance();
    EXPECT_EQ(cache.Find(77001), nullptr);
    auto one = MakeImage(1, 1, 0xFF000001);
    auto two = MakeImage(1, 1, 0xFF000002);
    PIX_IBitmap* first = one.get();
    EXPECT_EQ(cache.Insert(77001, std::move(one)), first);
    EXPECT_EQ(cache.Insert(77001, std::move(two)), first);
    EXPECT_EQ(cache.Insert(77001, nullptr), first);
    EXPECT_EQ(cache.Insert(77002, nullptr), nullptr);
    EXPECT_EQ(cache.Find(77001), first);
}

TEST(ImageCache, MissingImagesGiveAnEmptyStripThatDrawsNothing)
{
    RecordingGraphics g(nullptr, 8, 8);
    const FrameStrip missing = g.LoadFrameStrip(9199, "nothing.png", 31);
    EXPECT_EQ(missing.image, nullptr);
    EXPECT_EQ(missing.width, 0);
    EXPECT_EQ(missing.FrameHeight(), 0);
    const FrameStrip wrongName = g.LoadFrameStrip(9105, "strip.bmp", 3);
    EXPECT_EQ(wrongName.image, nullptr);
    // Not cached: a later request with a proper name still loads it.
    EXPECT_NE(g.LoadFrameStrip(9105, "strip.PNG", 3).image, nullptr);
    EXPECT_EQ(g.LoadFrameStrip(0, "x.png", 0).frameCount, 1);

    g.PrepareDrawSurface();
    PIX_SysBitmap& s = *g.DrawSurface();
    FillWith(s, 0x55555555);
    g.InsertBackground(9198, "gone.png");
    EXPECT_EQ(g.Control(0)->Rect(), PixelRect());
    EXPECT_TRUE(g.BlitFrame(missing, {0, 0, 8, 8}, 0, 0, nullptr));
    g.DrawArea({0, 0, 8, 8});
    EXPECT_EQ(PixelAt(s, 3, 3), 0x55555555u);
}

TEST(ImageCache, InsertBackgroundPutsAReplacingPictureAtTheFront)
{
    TestPlug plug;
    std::vector<std::string> events;
    RecordingGraphics g(&plug, 16, 16);
    g.AppendControl(std::make_unique<ProbeControl>(&plug, PixelRect{2, 2, 6, 6}, kParamLevel, events, "p"));
    g.InsertBackground(9101, "resources/img/bg.png");
    ASSERT_EQ(g.ControlCount(), 2);
    const IControl* bg = g.Control(0);
    EXPECT_EQ(bg->Rect(), PixelRect(0, 0, 16, 16));
    EXPECT_EQ(bg->ParamIdx(), -1);
    EXPECT_EQ(bg->Blend().method, BlendSpec::kBlendReplace);
    EXPECT_EQ(g.Control(1)->ParamIdx(), kParamLevel);

    g.PrepareDrawSurface();
    g.DrawArea({0, 0, 16, 16});
    EXPECT_EQ(PixelAt(*g.DrawSurface(), 15, 15), 0xFF0A141Eu);
    EXPECT_EQ(events, std::vector<std::string>{"p draw"});  // drawn after the background
}
