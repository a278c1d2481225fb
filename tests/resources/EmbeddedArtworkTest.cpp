// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EmbeddedResources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

struct Artwork {
    int id;
    uint32_t width;
    uint32_t frameHeight;
    uint32_t frames;
};

// Frames are stacked top to bottom; the editor places one frame per control
// rectangle, so each strip must be exactly frames x frame height tall.
constexpr Artwork kArtwork[] = {
    {101, 300, 570, 1},  // background
    {102, 151, 114, 2},  // IN switch
    {107, 83, 81, 31},   // GainH
    {109, 83, 81, 31},   // GainL
    {110, 83, 81, 31},   // GainM
    {111, 83, 81, 31},   // HPF
    {112, 83, 81, 31},   // LPF
    {113, 83, 81, 31},   // OUT
    {114, 150, 25, 2},   // oversampling legend
};

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

}  // namespace

TEST(EmbeddedArtwork, EveryImageIsAPngOfItsExactSize)
{
    for (const Artwork& art : kArtwork) {
        SCOPED_TRACE(art.id);
        const auto bytes = FindEmbeddedResource(art.id, "PNG");
        ASSERT_TRUE(bytes.has_value());
        // Signature, then the IHDR chunk: length 13, type, width, height.
        ASSERT_GE(bytes->size, 8u + 8u + 13u + 4u);
        const unsigned char* data = bytes->data;
        EXPECT_EQ(std::memcmp(data, kPngSignature, sizeof kPngSignature), 0);
        EXPECT_EQ(BigEndian32(data + 8), 13u);
        EXPECT_EQ(std::memcmp(data + 12, "IHDR", 4), 0);
        EXPECT_EQ(BigEndian32(data + 16), art.width);
        EXPECT_EQ(BigEndian32(data + 20), art.frameHeight * art.frames);
    }
}

TEST(EmbeddedArtwork, TheUnusedIdsBetweenThemAreAbsent)
{
    for (int id : {100, 103, 104, 105, 106, 108, 115})
        EXPECT_FALSE(FindEmbeddedResource(id, "PNG").has_value()) << id;
}

TEST(EmbeddedArtwork, IsFoundOnlyUnderThePngType)
{
    EXPECT_TRUE(FindEmbeddedResource(101, "png").has_value());
    EXPECT_FALSE(FindEmbeddedResource(101, "BITMAP").has_value());
}
