// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_ImageLoader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "TestBitmaps.h"
#include "TestPng.h"

using namespace testing_raster;

TEST(ImageLoader, ListsThePngLoaderWithItsFilter)
{
    const PIX_ImageLoader* head = PIX_ImageLoaders();
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head, PIX_ImageLoaders());
    EXPECT_EQ(head->next, nullptr);
    const char* filter = head->filter();
    EXPECT_STREQ(filter, "PNG files (*.PNG)");
    const char* pattern = filter + std::strlen(filter) + 1;
    EXPECT_STREQ(pattern, "*.PNG");
    EXPECT_EQ(pattern[std::strlen(pattern) + 1], '\0');
}

TEST(ImageLoader, ChecksTheNameOnlyWhenAsked)
{
    PngImage image;
    image.rows = {{1, 2, 3, 4}};
    const std::string bmpPath = WriteTempFile(EncodePng(image), ".bmp");
    const std::string pngPath = WriteTempFile(EncodePng(image), ".PNG");
    const PIX_ImageLoader* loader = PIX_ImageLoaders();

    EXPECT_EQ(loader->load(bmpPath.c_str(), nullptr, true), nullptr);
    std::unique_ptr<PIX_IBitmap> unchecked(loader->load(bmpPath.c_str(), nullptr, false));
    ASSERT_TRUE(unchecked);
    EXPECT_EQ(PixelAt(*unchecked, 0, 0), Argb(4, 1, 2, 3));

    VectorBitmap into(1, 1, false);
    EXPECT_EQ(loader->load(pngPath.c_str(), &into, true), &into);
    EXPECT_EQ(into.At(0, 0), Argb(4, 1, 2, 3));
    // A '/' after the last '.' means the name has no extension.
    EXPECT_EQ(loader->load("/tmp/x.png/file", nullptr, true), nullptr);
    std::remove(bmpPath.c_str());
    std::remove(pngPath.c_str());
}
