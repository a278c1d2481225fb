// SPDX-License-Identifier: GPL-3.0-or-later
#include "GraphicsTestSupport.h"

#include "graphics/IBitmapControl.h"
#include "graphics/IKnobMultiControl.h"
#include "raster/PIX_SysBitmap.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kSentinel = 0x11223344;
constexpr uint32_t kBackground = 0xFF0A141E;
constexpr uint32_t kRed = 0xFFC80000;
constexpr uint32_t kGreen = 0xFF00C800;
constexpr uint32_t kBlue = 0xFF0000C8;

// A 40 × 30 editor whose surface starts filled with kSentinel, with an
// opaque background control of kBackground.
struct DrawTest : ::testing::Test {
    std::vector<std::string> events;
    RecordingGraphics g{nullptr, 40, 30};
    std::unique_ptr<PIX_MemBitmap> bgImage = MakeImage(40, 30, kBackground);
    std::unique_ptr<PIX_MemBitmap> redImage = MakeImage(4, 4, kRed);
    std::unique_ptr<PIX_MemBitmap> rgbStrip = MakeStripImage(4, 4, {kRed, kGreen, kBlue});

    void SetUp() override
    {
        g.PrepareDrawSurface();
        FillWith(*g.DrawSurface(), kSentinel);
        AddPicture(*bgImage, 1, 0, 0, BlendSpec::kBlendReplace);
    }

    IBitmapControl* AddPicture(PIX_IBitmap& image, int frames, int x, int y,
                               int blend = BlendSpec::kBlendNone)
    {
        return Attach<IBitmapControl>(g, nullptr, x, y, -1, StripOf(image, frames), blend);
    }

    ProbeControl* AddProbe(PixelRect rect, const char* name)
    {
        return Attach<ProbeControl>(g, nullptr, rect, -1, events, name);
    }

    uint32_t At(int x, int y) const { return PixelAt(*g.DrawSurface(), x, y); }
};

}  // namespace

TEST_F(DrawTest, DrawsTheBackgroundFirstAndOnlyControlsThatIntersect)
{
    AddPicture(*redImage, 1, 5, 5);
    AddPicture(*redImage, 1, 30, 22);
    EXPECT_TRUE(g.DrawArea({0, 0, 20, 20}));
    EXPECT_EQ(At(6, 6), kRed);          // control over the background
    EXPECT_EQ(At(2, 2), kBackground);
    EXPECT_EQ(At(25, 5), kSentinel);    // background clipped to the area
    EXPECT_EQ(At(31, 23), kSentinel);   // second control outside the area
    EXPECT_EQ(g.PresentedAreas(), std::vector<PixelRect>{PixelRect(0, 0, 20, 20)});
}

TEST_F(DrawTest, ControlTouchingTheAreasRightOrBottomEdgeIsDrawnButPaintsNothingOutside)
{
    AddProbe({20, 0, 24, 4}, "right");
    AddProbe({0, 20, 4, 24}, "below");
    AddProbe({30, 25, 34, 29}, "away");
    AddPicture(*redImage, 1, 20, 5);
    g.DrawArea({0, 0, 20, 20});
    EXPECT_EQ(events, (std::vector<std::string>{"right draw", "below draw"}));
    EXPECT_EQ(At(20, 6), kSentinel);
}

TEST_F(DrawTest, HiddenControlsAreNotDrawnButAreCleanedAndGreyedOnesDrawAtAQuarter)
{
    IBitmapControl* hidden = AddPicture(*redImage, 1, 2, 2);
    IBitmapControl* greyed = AddPicture(*redImage, 1, 10, 2);
    hidden->SetHidden(true);
    greyed->SetGreyed(true);
    g.DrawArea({0, 0, 40, 30});
    EXPECT_EQ(At(3, 3), kBackground);
    // Source-over at weight 64 of 256: each channel moves a quarter toward red.
    EXPECT_EQ(At(11, 3), 0xFF3A0F16u);

    // Both were changed, so both stay dirty for one more pass, then clean.
    PixelRect dirty;
    EXPECT_TRUE(g.CollectDirtyArea(dirty));
    EXPECT_EQ(dirty, PixelRect(2, 2, 6, 6));  // only the hidden one asked for a second pass
    g.DrawArea(dirty);
    EXPECT_FALSE(g.CollectDirtyArea(dirty));
    EXPECT_EQ(dirty, PixelRect());
}

TEST_F(DrawTest, DirtyAreaIsTheUnionOfDirtyControlsHiddenOnesIncluded)
{
    IBitmapControl* left = AddPicture(*redImage, 1, 2, 2);
    IBitmapControl* right = AddPicture(*redImage, 1, 30, 20);
    g.DrawArea({0, 0, 40, 30});
    PixelRect dirty;
    ASSERT_FALSE(g.CollectDirtyArea(dirty));
    left->SetValueFromPlugin(0.5);   // first value: default only, stays clean
    ASSERT_FALSE(g.CollectDirtyArea(dirty));
    left->SetValueFromPlugin(0.6);
    right->SetHidden(true);
    EXPECT_TRUE(g.CollectDirtyArea(dirty));
    EXPECT_EQ(dirty, PixelRect(2, 2, 34, 24));

    g.MarkAllDirty();
    EXPECT_TRUE(g.CollectDirtyArea(dirty));
    EXPECT_EQ(dirty, PixelRect(0, 0, 40, 30));
}

TEST_F(DrawTest, FrameFollowsTheValueAndSourceOffsetsPickIt)
{
    IBitmapControl* pic = AddPicture(*rgbStrip, 3, 8, 8);
    EXPECT_EQ(pic->Rect(), PixelRect(8, 8, 12, 12));
    g.DrawArea(pic->Rect());
    EXPECT_EQ(At(9, 9), kRed);
    pic->SetValueFromPlugin(0.0);
    pic->SetValueFromPlugin(0.5);
    g.DrawArea(pic->Rect());
    EXPECT_EQ(At(9, 9), kGreen);
    pic->SetValueFromPlugin(1.0);
    g.DrawArea(pic->Rect());
    EXPECT_EQ(At(11, 11), kBlue);
    EXPECT_EQ(At(12, 12), kSentinel);  // only the control's rectangle was redrawn

    // A knob draws its frame the same way.
    IKnobMultiControl* knob = Attach<IKnobMultiControl>(g, nullptr, 20, 8, -1, StripOf(*rgbStrip, 3));
    knob->SetValueFromPlugin(0.75);  // 2 × 0.75 + 0.5 rounds to the last frame
    g.DrawArea({0, 0, 40, 30});
    EXPECT_EQ(At(21, 9), kBlue);
}

TEST_F(DrawTest, BlitFrameClipsToTheDrawArea)
{
    IBitmapControl* pic = AddPicture(*rgbStrip, 3, 8, 8);
    pic->SetValueFromPlugin(0.5);  // the green frame, source rows 4..7
    g.DrawArea({0, 0, 10, 10});
    EXPECT_EQ(At(8, 8), kGreen);
    EXPECT_EQ(At(9, 9), kGreen);
    EXPECT_EQ(At(10, 9), kSentinel);
    EXPECT_EQ(At(9, 10), kSentinel);

    // Clipping on the top-left side shifts the source by the same amount.
    g.DrawArea({10, 10, 40, 30});
    EXPECT_EQ(At(10, 10), kGreen);
    EXPECT_EQ(At(11, 11), kGreen);
    EXPECT_EQ(At(12, 12), kBackground);
}

TEST_F(DrawTest, BlendMethodsMapToComposeModes)
{
    auto halfRed = MakeImage(2, 2, 0x80FF0000);
    auto blueBg = MakeImage(40, 30, 0xFF0000FF);
    AddPicture(*blueBg, 1, 0, 0, BlendSpec::kBlendReplace);
    AddPicture(*halfRed, 1, 0, 0, BlendSpec::kBlendReplace);
    AddPicture(*halfRed, 1, 4, 0, BlendSpec::kBlendNone);
    AddPicture(*halfRed, 1, 8, 0, BlendSpec::kBlendAdd);
    AddPicture(*halfRed, 1, 12, 0, 9);  // unknown methods blend like "none"
    g.DrawArea({0, 0, 40, 30});
    EXPECT_EQ(At(0, 0), 0x80FF0000u);   // replaced, alpha included
    EXPECT_EQ(At(4, 0), 0xFF81007Eu);   // source over
    EXPECT_EQ(At(8, 0), 0xFF8000FFu);   // added, weighted by source alpha
    EXPECT_EQ(At(12, 0), 0xFF81007Eu);
}

TEST_F(DrawTest, NothingIsPresentedWithoutControls)
{
    RecordingGraphics empty(nullptr, 10, 10);
    EXPECT_TRUE(empty.DrawArea({0, 0, 10, 10}));
    EXPECT_TRUE(empty.PresentedAreas().empty());
}
