// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/IStateChunk.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

TEST(StateChunk, GrowsInPagesReallocatingOnlyWhenTheAllocationIsExceeded)
{
    IStateChunk chunk;
    EXPECT_EQ(chunk.AllocatedSize(), 0);

    std::vector<std::pair<int, int>> growth;  // (size, allocation) at each reallocation
    int allocation = chunk.AllocatedSize();
    for (int i = 0; i < 2100; ++i) {
        const double value = i;
        ASSERT_EQ(chunk.PutValue(value), 8 * (i + 1));
        if (chunk.AllocatedSize() != allocation) {
            EXPECT_GT(chunk.Size(), allocation);
            allocation = chunk.AllocatedSize();
            growth.emplace_back(chunk.Size(), allocation);
        }
    }
    const std::vector<std::pair<int, int>> expected = {
        {8, 4000}, {4008, 8096}, {8104, 12192}, {12200, 16288}, {16296, 20384}};
    EXPECT_EQ(growth, expected);

    double value = -1.0;
    EXPECT_EQ(chunk.GetValue(value, 8 * 2099), 8 * 2100);
    EXPECT_EQ(value, 2099.0);
}

TEST(StateChunk, LargeGrowthIsHalfTheSizeInWholePages)
{
    IStateChunk chunk;
    ASSERT_TRUE(chunk.ResizeBuffer(100000, false));
    EXPECT_EQ(chunk.AllocatedSize(), 147360);  // growth 49152, then pages less 96 bytes
}

TEST(StateChunk, SmallGranularityGrowsBySizePlusGranule)
{
    IStateChunk chunk(16);
    EXPECT_EQ(chunk.PutValue(std::int64_t{1}), 8);
    EXPECT_EQ(chunk.AllocatedSize(), 24);
    ASSERT_TRUE(chunk.ResizeBuffer(100, false));
    EXPECT_EQ(chunk.AllocatedSize(), 150);
}

TEST(StateChunk, ReadsPastTheEndFailAndLeaveTheValueUntouched)
{
    IStateChunk chunk;
    chunk.PutValue(std::int32_t{7});
    chunk.PutValue(2.5);

    std::int32_t integer = 0;
    EXPECT_EQ(chunk.GetValue(integer, 0), 4);
    EXPECT_EQ(integer, 7);

    double value = 42.0;
    EXPECT_EQ(chunk.GetValue(value, 4), 12);
    EXPECT_EQ(value, 2.5);
    value = 42.0;
    EXPECT_EQ(chunk.GetValue(value, 5), -1);
    EXPECT_EQ(chunk.GetValue(value, 12), -1);
    EXPECT_EQ(chunk.GetValue(value, -1), -1);
    EXPECT_EQ(chunk.GetValue(value, INT_MAX), -1);
    EXPECT_EQ(value, 42.0);
}

TEST(StateChunk, ValuesAreStoredAsTheirLittleEndianBytes)
{
    IStateChunk chunk;
    chunk.PutValue(std::int32_t{0x01020304});
    chunk.PutValue(1.0);
    const std::vector<std::uint8_t> bytes(chunk.Data(), chunk.Data() + chunk.Size());
    const std::vector<std::uint8_t> expected = {0x04, 0x03, 0x02, 0x01, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    EXPECT_EQ(bytes, expected);
}

TEST(StateChunk, ShrinkingFarBelowTheAllocationReallocatesAndKeepsTheContents)
{
    IStateChunk chunk;
    for (int i = 0; i < 12500; ++i) {
        chunk.PutValue(static_cast<double>(i));
    }
    ASSERT_EQ(chunk.Size(), 100000);
    const int large = chunk.AllocatedSize();

    ASSERT_TRUE(chunk.ResizeBuffer(96000, true));  // above the threshold: kept
    EXPECT_EQ(chunk.AllocatedSize(), large);

    ASSERT_TRUE(chunk.ResizeBuffer(800, true));
    EXPECT_EQ(chunk.Size(), 800);
    EXPECT_EQ(chunk.AllocatedSize(), 4000);
    double value = 0.0;
    EXPECT_EQ(chunk.GetValue(value, 792), 800);
    EXPECT_EQ(value, 99.0);
}

TEST(StateChunk, EmptyingFreesOnlyWhenShrinkingIsAllowed)
{
    IStateChunk kept;
    kept.PutValue(1.0);
    ASSERT_TRUE(kept.ResizeBuffer(-5, false));  // negative counts as 0
    EXPECT_EQ(kept.Size(), 0);
    EXPECT_EQ(kept.AllocatedSize(), 4000);
    EXPECT_NE(kept.Data(), nullptr);

    IStateChunk freed;
    freed.PutValue(1.0);
    ASSERT_TRUE(freed.ResizeBuffer(0, true));
    EXPECT_EQ(freed.Size(), 0);
    EXPECT_EQ(freed.AllocatedSize(), 0);
    EXPECT_EQ(freed.Data(), nullptr);
}

TEST(StateChunk, AnImpossibleSizeFailsAndLeavesTheChunkAsItWas)
{
    IStateChunk chunk;
    chunk.PutValue(3.0);
    EXPECT_FALSE(chunk.ResizeBuffer(INT_MAX, true));
    EXPECT_EQ(chunk.Size(), 8);
    EXPECT_EQ(chunk.AllocatedSize(), 4000);
    double value = 0.0;
    EXPECT_EQ(chunk.GetValue(value, 0), 8);
    EXPECT_EQ(value, 3.0);
}
