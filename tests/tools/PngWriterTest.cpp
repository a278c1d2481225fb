// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PngWriter.h"

#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_PngLoader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

uint32_t PixelAt(const PIX_IBitmap& bitmap, int x, int y)
{
    const int row = bitmap.IsBottomUp() ? bitmap.Height() - 1 - y : y;
    return bitmap.Pixels()[row * bitmap.RowStride() + x];
}

}  // namespace

TEST(PngWriter, KeepsEveryPixelIncludingStraightAlpha)
{
    PIX_MemBitmap bitmap;
    ASSERT_TRUE(bitmap.Resize(3, 2));
    const uint32_t pixels[6] = {0xFF102030, 0x80FF0000, 0x00000000, 0x01FFFFFF, 0xFF00FF00, 0x7F123456};
    for (int i = 0; i < 6; ++i) bitmap.Pixels()[(i / 3) * bitmap.RowStride() + i % 3] = pixels[i];
    const std::string path = "/tmp/keldra-png-" + std::to_string(::getpid()) + ".png";
    std::string error;
    ASSERT_TRUE(WritePng(bitmap, path, error)) << error;
    auto back = PIX_LoadPngFromFile(path.c_str());
    std::remove(path.c_str());
    ASSERT_TRUE(back);
    ASSERT_EQ(back->Width(), 3);
    ASSERT_EQ(back->Height(), 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(PixelAt(*back, i % 3, i / 3), pixels[i]) << i;

    PIX_MemBitmap empty;
    EXPECT_FALSE(WritePng(empty, path, error));
}
