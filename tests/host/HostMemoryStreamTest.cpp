// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostMemoryStream.h"

#include <gtest/gtest.h>

using namespace Steinberg;

TEST(HostMemoryStream, ReadStopsAtTheEndAndReportsWhatItGot)
{
    HostMemoryStream stream({1, 2, 3, 4, 5});
    uint8 buffer[8] = {};
    int32 got = -1;
    EXPECT_EQ(stream.read(buffer, 3, &got), kResultOk);
    EXPECT_EQ(got, 3);
    EXPECT_EQ(stream.read(buffer, 8, &got), kResultOk);
    EXPECT_EQ(got, 2);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(buffer[1], 5);
    EXPECT_EQ(stream.read(buffer, 4, &got), kResultFalse);
    EXPECT_EQ(got, 0);
    EXPECT_EQ(stream.read(buffer, -1, &got), kInvalidArgument);
}

TEST(HostMemoryStream, WritesGrowTheStreamAndOverwriteAfterSeeking)
{
    HostMemoryStream stream;
    uint8 bytes[] = {9, 8, 7};
    int32 written = 0;
    EXPECT_EQ(stream.write(bytes, 3, &written), kResultOk);
    EXPECT_EQ(written, 3);
    int64 position = -1;
    EXPECT_EQ(stream.seek(-1, IBStream::kIBSeekEnd, &position), kResultOk);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(stream.write(bytes, 3, &written), kResultOk);
    EXPECT_EQ(stream.Bytes(), std::vector<uint8_t>({9, 8, 9, 8, 7}));
    EXPECT_EQ(stream.tell(&position), kResultOk);
    EXPECT_EQ(position, 5);
}

TEST(HostMemoryStream, SeekingBeforeTheStartIsRefusedAndPastTheEndReadsNothing)
{
    HostMemoryStream stream({1, 2});
    int64 position = 0;
    EXPECT_EQ(stream.seek(-3, IBStream::kIBSeekCur, &position), kResultFalse);
    EXPECT_EQ(stream.seek(10, IBStream::kIBSeekSet, &position), kResultOk);
    uint8 byte = 0;
    int32 got = -1;
    EXPECT_EQ(stream.read(&byte, 1, &got), kResultFalse);
    EXPECT_EQ(got, 0);
    EXPECT_EQ(stream.seek(0, 7, &position), kInvalidArgument);
}
