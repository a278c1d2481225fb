// SPDX-License-Identifier: GPL-3.0-or-later
// The panel a window at a content scale above 1 shows: composed from the
// artwork drawn at 2, loaded once for every editor in the process.
#include "GraphicsTestSupport.h"

#include "graphics/IBitmapControl.h"
#include "graphics/ImageCache.h"
#include "raster/PIX_SysBitmap.h"

#include <gtest/gtest.h>

namespace {

// The embedded test images at 2 (ids 10102 and 10106, make_images.py).
constexpr uint32_t kCheckerLight = 0xFF28323C;
constexpr uint32_t kCheckerDark = 0xFF0A141E;
constexpr uint32_t kGrey = 0xFF646464;
constexpr uint32_t kGreen = 0xFF00C800;

/// A 16 x 16 editor: the background 9102 and, at (4, 4), frame 2 (green)
/// of the three-frame strip 9106. Nothing else uses these two ids.
struct ScaledEditor {
    RecordingGraphics g{nullptr, 16, 16};

    ScaledEditor()
    {
        g.InsertBackground(9102, "bg.png");
        Attach<IBitmapControl>(g, nullptr, 4, 4, -1, g.LoadFrameStrip(9106, "strip.png", 3),
                               BlendSpec::kBlendNone)
            ->SetValueFromPlugin(0.5);
        g.PrepareDrawSurface();
    }

    PresentedImage DrawAt(double scale)
    {
        g.SetPanelScale(scale);
        g.DrawArea({0, 0, 16, 16});
        return g.PresentationOf({0, 0, 16, 16});
    }
};

} // namespace

TEST(PanelScale, AboveOneTheScaledArtworkIsComposedLoadedOnceAndSharedByEveryEditor)
{
    ScaledEditor first;
    PresentedImage shown = first.DrawAt(1.0);
    EXPECT_EQ(shown.surface, first.g.DrawSurface());
    EXPECT_EQ(shown.area, (PixelRect{0, 0, 16, 16}));
    EXPECT_EQ(shown.stretch, 1.0);
    // An editor at scale 1 never loads the larger drawings.
    EXPECT_EQ(ImageCache::Instance().Find(10102), nullptr);
    EXPECT_EQ(ImageCache::Instance().Find(10106), nullptr);

    shown = first.DrawAt(2.0);
    ASSERT_NE(shown.surface, nullptr);
    EXPECT_EQ(shown.surface->Width(), 32);
    EXPECT_EQ(shown.surface->Height(), 32);
    EXPECT_EQ(shown.area, (PixelRect{0, 0, 32, 32}));
    EXPECT_EQ(shown.stretch, 1.0);
    // The 2x checkers, the strip's frame at twice the control's position.
    EXPECT_EQ(PixelAt(*shown.surface, 0, 0), kCheckerLight);
    EXPECT_EQ(PixelAt(*shown.surface, 1, 0), kCheckerDark);
    EXPECT_EQ(PixelAt(*shown.surface, 8, 8), kGrey);
    EXPECT_EQ(PixelAt(*shown.surface, 9, 8), kGreen);
    EXPECT_EQ(PixelAt(*shown.surface, 7, 8), kCheckerDark);

    ScaledEditor second;
    const int loads = second.g.imageLoads;
    shown = second.DrawAt(1.5);
    EXPECT_EQ(second.g.imageLoads, loads);
    ASSERT_NE(shown.surface, nullptr);
    EXPECT_EQ(shown.surface->Width(), 24);
    EXPECT_EQ(shown.surface->Height(), 24);
    EXPECT_EQ(shown.stretch, 1.0);

    // Beyond the largest drawing its panel is enlarged by what is left.
    shown = second.DrawAt(3.0);
    ASSERT_NE(shown.surface, nullptr);
    EXPECT_EQ(shown.surface->Width(), 32);
    EXPECT_EQ(shown.area, (PixelRect{0, 0, 32, 32}));
    EXPECT_EQ(shown.stretch, 1.5);

    shown = second.DrawAt(1.0);
    EXPECT_EQ(shown.surface, second.g.DrawSurface());
    EXPECT_EQ(second.g.PanelScale(), 1.0);
}
