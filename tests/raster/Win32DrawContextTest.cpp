// SPDX-License-Identifier: GPL-3.0-or-later
// What only the Windows form shows: the bitmap's section in its device
// context, and which text goes through the system.
#include <windows.h>

#include <gtest/gtest.h>

#include "TestBitmaps.h"
#include "TextTestSupport.h"
#include "raster/PIX_CachedFont.h"
#include "raster/PIX_Compose.h"
#include "raster/PIX_DrawContext.h"
#include "raster/PIX_FontFlags.h"
#include "raster/PIX_SysBitmap.h"
#include "raster/PIX_TextFormat.h"

using namespace testing_raster;

TEST(Win32DrawContext, HoldsTheBitmapsTopDownSectionUntilItIsReleased)
{
    PIX_SysBitmap b;
    ASSERT_TRUE(b.Resize(30, 20));
    HDC dc = b.DeviceContext()->SystemHandle();
    ASSERT_NE(dc, nullptr);
    DIBSECTION section{};
    ASSERT_EQ(GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof section, &section), int(sizeof section));
    EXPECT_EQ(section.dsBm.bmBits, b.Pixels());
    EXPECT_EQ(section.dsBmih.biWidth, 32);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
    // What the system draws at (x, y) is pixel (x, y) of the bitmap.
    SetPixelV(dc, 3, 2, RGB(0x10, 0x20, 0x30));
    GdiFlush();
    EXPECT_EQ(PixelAt(b, 3, 2) & 0xFFFFFFu, 0x102030u);

    EXPECT_FALSE(b.Resize(0, 0));
    EXPECT_NE(GetCurrentObject(dc, OBJ_BITMAP), HGDIOBJ(nullptr));
    BITMAP stock{};
    GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof stock, &stock);
    EXPECT_EQ(stock.bmBits, nullptr);
}

TEST(Win32DrawContext, FontsThatPreferTheSystemDrawThroughItAtEverySize)
{
    // At weight 0 the glyph path draws nothing; the system path ignores the
    // weight when it draws into a device context. Wine is no exception: it
    // is the system these tests meet on the build machine.
    auto drawsAtWeightZero = [](int32_t height) {
        PIX_CachedFont font;
        font.AttachFont(TestFont(height).release(), kFontOwnsHandle | kFontPreferSystem);
        font.SetFontColor(0x40102030);
        font.SetComposeMode(kComposeCopy, 0.0f);
        PIX_SysBitmap surface;
        surface.Resize(400, 320);
        PIX_Fill(&surface, 0, 0, 400, 320, 0xFFFFFFFF, 1.0f, kComposeCopy);
        PIX_Rect box{0, 0, 400, 320};
        font.DrawString(&surface, "OW", 2, box, 0);
        const bool drawn = InkBox(surface, 0xFFFFFFFF).right > 0;
        if (drawn) {
            // The device context had the text colour's red, green and blue.
            EXPECT_EQ(GetTextColor(surface.DeviceContext()->SystemHandle()), RGB(0x10, 0x20, 0x30));
        }
        return drawn;
    };
    EXPECT_TRUE(drawsAtWeightZero(16));
    EXPECT_TRUE(drawsAtWeightZero(300));
}
