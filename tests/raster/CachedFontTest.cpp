// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_CachedFont.h"

#include <gtest/gtest.h>

#include <cstring>

#include "TestBitmaps.h"
#include "TextTestSupport.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_FontFlags.h"
#include "raster/PIX_SysBitmap.h"
#include "raster/PIX_TextFormat.h"

using namespace testing_raster;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

// A font owning a system font of `height` pixels, attached with `flags`,
// drawing opaque black.
std::unique_ptr<PIX_CachedFont> MakeFont(int32_t flags, int32_t height = 16)
{
    auto font = std::make_unique<PIX_CachedFont>();
    auto handle = TestFont(height);
    if (!handle) return nullptr;
    font->AttachFont(handle.release(), flags | kFontOwnsHandle);
    font->SetFontColor(0xFF000000);
    return font;
}

int32_t Draw(PIX_CachedFont& font, PIX_IBitmap* dest, const char* text, PIX_Rect rect, uint32_t format)
{
    return font.DrawString(dest, text, int32_t(std::strlen(text)), rect, format);
}

// `text` drawn by `font` into `rect` of a new white w x h in-memory bitmap.
std::unique_ptr<PIX_MemBitmap> Painted(PIX_CachedFont& font, const char* text, int32_t w, int32_t h, PIX_Rect rect,
                                       uint32_t format = 0)
{
    auto bitmap = Filled(w, h, kWhite);
    Draw(font, bitmap.get(), text, rect, format);
    return bitmap;
}

// A white w x h bitmap with a drawing context.
std::unique_ptr<PIX_SysBitmap> WhiteSurface(int32_t w, int32_t h)
{
    auto surface = std::make_unique<PIX_SysBitmap>();
    surface->Resize(w, h);
    PIX_Fill(surface.get(), 0, 0, w, h, kWhite, 1.0f, kComposeCopy);
    return surface;
}

// The extent DT_CALCRECT reports for `text` at the origin.
PIX_Rect Measure(PIX_CachedFont& font, const char* text)
{
    PIX_Rect r{};
    font.DrawString(nullptr, text, int32_t(std::strlen(text)), r, DT_CALCRECT);
    return r;
}

}  // namespace

TEST(CachedFont, MeasuresWithoutABitmapAlikeOnBothPaths)
{
    auto glyphs = MakeFont(0);
    auto system = MakeFont(kFontPreferSystem);
    ASSERT_TRUE(glyphs && system);
    for (PIX_CachedFont* font : {glyphs.get(), system.get()}) {
        EXPECT_EQ(font->LineHeight(), 16);
        PIX_Rect r{3, 4, 0, 0};
        EXPECT_EQ(font->DrawString(nullptr, "Hello", 5, r, DT_CALCRECT), 16);
        EXPECT_EQ(r.bottom, 20);
        EXPECT_GT(r.right, 3 + 20);
        // Without DT_CALCRECT there is nothing to draw on.
        PIX_Rect unchanged{1, 2, 3, 4};
        EXPECT_EQ(font->DrawString(nullptr, "Hello", 5, unchanged, 0), 0);
        EXPECT_EQ(unchanged.right, 3);
        // A second line adds a line height.
        EXPECT_EQ(Measure(*font, "Keldra\n42").bottom, 32);
    }
    EXPECT_EQ(Measure(*glyphs, "Keldra 42").right, Measure(*system, "Keldra 42").right);
}

TEST(CachedFont, PrerenderedAsciiRefusesOtherCharacters)
{
    auto font = MakeFont(kFontPrerenderAscii);
    ASSERT_TRUE(font);
    auto surface = Filled(60, 30, kWhite);
    const PIX_Rect clip{0, 0, 60, 30};
    EXPECT_FALSE(font->DrawGlyph(surface.get(), U'\u00E9', 5, 5, clip));
    EXPECT_FALSE(font->DrawGlyph(surface.get(), U'\u4E2D', 5, 5, clip));
    EXPECT_EQ(Draw(*font, surface.get(), "\xC3\xA9\xC3\xA9", clip, 0), 0);
    EXPECT_EQ(CountEqual(*surface, kWhite), 60 * 30);
    EXPECT_TRUE(font->DrawGlyph(surface.get(), U'A', 5, 5, clip));
    EXPECT_LT(CountEqual(*surface, kWhite), 60 * 30);
}

TEST(CachedFont, GlyphPathRendersVisibleTextInsideTheBox)
{
    auto font = MakeFont(0);
    ASSERT_TRUE(font);
    auto surface = Filled(100, 40, kWhite);
    EXPECT_EQ(Draw(*font, surface.get(), "Hello", PIX_Rect{10, 5, 90, 35}, 0), 16);
    const PIX_Rect ink = InkBox(*surface, kWhite);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.left, 13);
    EXPECT_GE(ink.top, 5);
    EXPECT_LE(ink.bottom, 5 + 16);
    EXPECT_GT(ink.right - ink.left, 25);
    // Anti-aliased black on white: the darkest pixels are fully black.
    EXPECT_GT(CountEqual(*surface, 0xFF000000), 10);
}

TEST(CachedFont, SystemPathDrawsTheTextColourIgnoringItsAlpha)
{
    auto font = MakeFont(kFontPreferSystem);
    ASSERT_TRUE(font);
    auto surface = WhiteSurface(80, 30);
    font->SetFontColor(0x40102030);
    Draw(*font, surface.get(), "\xE2\x96\x88\xE2\x96\x88", PIX_Rect{0, 0, 80, 30}, 0);  // two full blocks
    EXPECT_GT(CountColour(*surface, 0x102030), 40);
}

TEST(CachedFont, MeasuringSurfaceServesBitmapsWithoutAContext)
{
    auto font = MakeFont(kFontPreferSystem);
    ASSERT_TRUE(font);
    auto bitmap = Filled(80, 30, kWhite);
    EXPECT_EQ(Draw(*font, bitmap.get(), "Hi", PIX_Rect{50, 0, 80, 30}, DT_RIGHT), 16);
    const PIX_Rect ink = InkBox(*bitmap, kWhite);
    EXPECT_GE(ink.left, 50);
    EXPECT_LE(ink.right, 80);
    EXPECT_GE(ink.right, 76);
}

TEST(CachedFont, OpaqueModeFillsTheBoxAndTransparentDoesNot)
{
    for (int32_t flags : {0, kFontPreferSystem}) {
        auto font = MakeFont(flags);
        ASSERT_TRUE(font);
        font->SetBackgroundColor(0xFF0000FF);
        auto transparent = WhiteSurface(60, 30);
        Draw(*font, transparent.get(), "mm", PIX_Rect{0, 0, 60, 30}, 0);
        EXPECT_EQ(CountColour(*transparent, 0x0000FF), 0) << flags;
        EXPECT_EQ(font->SetBackgroundMode(kBkModeOpaque), kBkModeTransparent);
        auto opaque = WhiteSurface(60, 30);
        Draw(*font, opaque.get(), "mm", PIX_Rect{0, 0, 60, 30}, 0);
        EXPECT_GT(CountColour(*opaque, 0x0000FF), 20) << flags;
    }
}

TEST(CachedFont, AlignmentPlacesGlyphTextInItsBox)
{
    auto font = MakeFont(0);
    ASSERT_TRUE(font);
    const int32_t width = Measure(*font, "mm").right;
    ASSERT_GT(width, 10);

    PIX_Rect ink = InkBox(*Painted(*font, "mm", 100, 50, PIX_Rect{0, 0, 100, 50}, DT_RIGHT | DT_BOTTOM), kWhite);
    EXPECT_NEAR(ink.right, 100, 2);
    EXPECT_GE(ink.left, 100 - width - 1);
    EXPECT_GE(ink.top, 50 - 16);

    ink = InkBox(*Painted(*font, "mm", 100, 50, PIX_Rect{0, 0, 100, 50}, DT_CENTER | DT_VCENTER), kWhite);
    EXPECT_NEAR(ink.left + ink.right, 100, 3);
    EXPECT_GE(ink.top, (50 - 16) / 2);
    EXPECT_LE(ink.bottom, (50 - 16) / 2 + 16);
}

TEST(CachedFont, ClipsToTheRectangleUnlessNoClip)
{
    auto font = MakeFont(0);
    ASSERT_TRUE(font);
    EXPECT_LE(InkBox(*Painted(*font, "WWWWWW", 100, 30, PIX_Rect{0, 0, 20, 30}), kWhite).right, 20);
    auto free = Painted(*font, "WWWWWW", 100, 30, PIX_Rect{0, 0, 20, 30}, DT_NOCLIP);
    EXPECT_GT(InkBox(*free, kWhite).right, 40);
    // An empty clip draws nothing.
    EXPECT_EQ(Draw(*font, free.get(), "W", PIX_Rect{200, 0, 220, 30}, 0), 0);
}

TEST(CachedFont, MonoMasksPaintExactColoursAndShadowsTheEffectColour)
{
    auto font = MakeFont(kFontShadow);
    ASSERT_TRUE(font);
    font->SetFontColor(0xFF112233);
    font->SetEffectColor(0xFF445566);
    auto surface = Painted(*font, "Ab", 60, 30, PIX_Rect{0, 0, 60, 30});
    const int32_t text = CountEqual(*surface, 0xFF112233), shadow = CountEqual(*surface, 0xFF445566);
    EXPECT_GT(text, 10);
    EXPECT_GT(shadow, 10);
    EXPECT_EQ(text + shadow + CountEqual(*surface, kWhite), 60 * 30);
}

TEST(CachedFont, ColourAlphaScalesTheWeightUnderBit30)
{
    auto font = MakeFont(0);
    ASSERT_TRUE(font);
    auto surface = Filled(60, 30, kWhite);
    font->SetFontColor(0x00000000);
    EXPECT_EQ(Draw(*font, surface.get(), "Ab", PIX_Rect{0, 0, 60, 30}, kTextColorAlphaWeight), 0);
    EXPECT_EQ(CountEqual(*surface, kWhite), 60 * 30);
    font->SetFontColor(0x80000000);
    Draw(*font, surface.get(), "Ab", PIX_Rect{0, 0, 60, 30}, kTextColorAlphaWeight);
    // Half weight never reaches full black.
    EXPECT_LT(CountEqual(*surface, kWhite), 60 * 30);
    EXPECT_EQ(CountEqual(*surface, 0xFF000000), 0);
}

TEST(CachedFont, VeryLargeFontsAlwaysTakeTheSystemPath)
{
    // Mono glyph-path text would hold only exact colour words; the system
    // path anti-aliases. The system may leave any alpha in the pixels it
    // draws (Windows zeroes it), so only the colour counts.
    auto font = MakeFont(kFontMono, 300);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->LineHeight(), 300);
    auto surface = WhiteSurface(200, 320);
    Draw(*font, surface.get(), "O", PIX_Rect{0, 0, 200, 320}, 0);
    int32_t black = 0, white = 0;
    for (int32_t y = 0; y < 320; ++y)
        for (int32_t x = 0; x < 200; ++x) {
            const uint32_t rgb = PixelAt(*surface, x, y) & 0xFFFFFFu;
            black += rgb == 0;
            white += rgb == 0xFFFFFFu;
        }
    EXPECT_GT(black, 100);
    EXPECT_GT(200 * 320 - black - white, 0);

    // A bitmap without a drawing context gets the text drawn on the
    // measuring surface and composed back into its box.
    auto plain = Filled(400, 320, kWhite);
    Draw(*font, plain.get(), "O", PIX_Rect{200, 0, 400, 320}, DT_RIGHT);
    const PIX_Rect ink = InkBox(*plain, kWhite);
    EXPECT_GE(ink.left, 200);
    EXPECT_LE(ink.right, 400);
    EXPECT_GT(ink.right - ink.left, 100);
}

TEST(CachedFont, BlurSpreadsCoverage)
{
    auto sharp = MakeFont(kFontMono);
    auto blurred = MakeFont(kFontMono | kFontBlur | kFontInvert);
    ASSERT_TRUE(sharp && blurred);
    auto a = Painted(*sharp, "l", 40, 30, PIX_Rect{0, 0, 40, 30});
    auto b = Painted(*blurred, "l", 40, 30, PIX_Rect{0, 0, 40, 30});
    // Inverted coverage paints the background of the cell, not the stroke.
    EXPECT_GT(CountEqual(*b, 0xFF000000), CountEqual(*a, 0xFF000000));
}

TEST(CachedFont, VerticalTextSwapsItsExtent)
{
    auto flat = MakeFont(0);
    auto down = MakeFont(kFontVertical);
    ASSERT_TRUE(flat && down);
    const PIX_Rect h = Measure(*flat, "AB");
    PIX_Rect v{};
    EXPECT_EQ(down->DrawString(nullptr, "AB", 2, v, DT_CALCRECT), 16);
    EXPECT_EQ(v.right, 16);
    EXPECT_EQ(v.bottom, h.right);
}

TEST(CachedFont, SharedSurfacesAreRebuiltAfterTheLastFontIsGone)
{
    // Each round's fonts are the only live ones: their end releases the
    // glyph and measuring surfaces, and the next round must build them anew.
    for (int round = 0; round < 2; ++round)
        for (int32_t flags : {0, kFontPreferSystem}) {
            auto font = MakeFont(flags);
            ASSERT_TRUE(font);
            auto surface = Painted(*font, "Ab", 40, 30, PIX_Rect{0, 0, 40, 30});
            EXPECT_LT(CountEqual(*surface, kWhite), 40 * 30) << round << " " << flags;
        }
}

TEST(CachedFont, ReattachingReplacesTheFontAndItsGlyphs)
{
    auto font = MakeFont(0, 16);
    ASSERT_TRUE(font);
    const int32_t small = Measure(*font, "Wide").right;
    auto larger = TestFont(32);
    ASSERT_TRUE(larger);
    PIX_PlatformFont* handle = larger.get();
    // The owned 16-pixel font is deleted here (the leak checker would see it otherwise).
    font->AttachFont(larger.release(), kFontOwnsHandle);
    EXPECT_EQ(font->FontHandle(), handle);
    EXPECT_EQ(font->LineHeight(), 32);
    EXPECT_GT(Measure(*font, "Wide").right, small * 3 / 2);
    font->AttachFont(nullptr, 0);
    EXPECT_EQ(font->LineHeight(), 0);
}

TEST(CachedFont, CachesCharactersBeyondAsciiInAnyOrder)
{
    auto font = MakeFont(0);
    ASSERT_TRUE(font);
    const char* euroE = "\xE2\x82\xAC\xC3\xA9";  // U+20AC then U+00E9
    const char* eEuro = "\xC3\xA9\xE2\x82\xAC";
    const char* alpha = "\xCE\xB1";              // U+03B1, inserted between them
    const int32_t first = Measure(*font, euroE).right;
    EXPECT_GT(Measure(*font, alpha).right, 0);
    EXPECT_EQ(Measure(*font, eEuro).right, first);
    auto surface = Filled(40, 20, kWhite);
    const PIX_Rect clip{0, 0, 40, 20};
    EXPECT_TRUE(font->DrawGlyph(surface.get(), U'\u00E9', 2, 2, clip));
    EXPECT_TRUE(font->DrawGlyph(surface.get(), U'\u20AC', 20, 2, clip));
    EXPECT_TRUE(font->DrawGlyph(surface.get(), U'\u03B1', 12, 2, clip));
    EXPECT_LT(CountEqual(*surface, kWhite), 40 * 20);
}

TEST(CachedFont, OutlineSurroundsTheStrokesWithTheEffectColour)
{
    auto font = MakeFont(kFontOutline);
    ASSERT_TRUE(font);
    font->SetEffectColor(0xFFFF0000);
    auto surface = Painted(*font, "I", 40, 30, PIX_Rect{5, 0, 40, 30});
    // Every text pixel's left and right neighbours are ink or outline, never
    // the white background.
    int32_t checked = 0;
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 1; x < 39; ++x)
            if (PixelAt(*surface, x, y) == 0xFF000000) {
                EXPECT_NE(PixelAt(*surface, x - 1, y), kWhite) << x << "," << y;
                EXPECT_NE(PixelAt(*surface, x + 1, y), kWhite) << x << "," << y;
                ++checked;
            }
    EXPECT_GT(checked, 5);
    EXPECT_GT(CountEqual(*surface, 0xFFFF0000), 10);
}

TEST(CachedFont, HsvAdjustReachesEveryCoveredPixelWhoseWeightTruncatesToZero)
{
    auto font = MakeFont(0);
    ASSERT_TRUE(font);
    font->SetFontColor(0xFF808080);  // no shift
    font->SetComposeMode(kComposeHsvAdjust, 1.0f / 256);  // W = 1: each pixel's k is 0
    auto surface = Filled(40, 30, 0x00FFFFFF);
    Draw(*font, surface.get(), "Ab", PIX_Rect{0, 0, 40, 30}, 0);
    // White survives the round trip; the alpha argument 255 makes it opaque.
    const int32_t covered = CountEqual(*surface, kWhite);
    EXPECT_GT(covered, 10);
    EXPECT_EQ(covered + CountEqual(*surface, 0x00FFFFFF), 40 * 30);
}
