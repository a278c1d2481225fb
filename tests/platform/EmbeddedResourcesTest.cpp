// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EmbeddedResources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

TEST(EmbeddedResources, ReturnsTheFileBytesByIdAndPngType)
{
    std::ifstream in(SAMPLE_RESOURCE_PATH, std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(expected.empty());

    for (const char* type : {"PNG", "png"}) {
        const auto bytes = FindEmbeddedResource(4242, type);
        ASSERT_TRUE(bytes.has_value()) << type;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes->data), bytes->size), expected);
    }
}

TEST(EmbeddedResources, UsesOnlyTheLow16BitsOfTheId)
{
    EXPECT_TRUE(FindEmbeddedResource(0x10000 + 4242, "PNG").has_value());
}

TEST(EmbeddedResources, AnswersNothingForUnknownIdsAndOtherTypes)
{
    EXPECT_FALSE(FindEmbeddedResource(4243, "PNG").has_value());
    EXPECT_FALSE(FindEmbeddedResource(0, "PNG").has_value());
    EXPECT_FALSE(FindEmbeddedResource(4242, "BMP").has_value());
    EXPECT_FALSE(FindEmbeddedResource(4242, nullptr).has_value());
}
