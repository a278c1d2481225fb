// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ModulePath.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(ModulePath, NamesThisProgramAndKeepsTheFoldersTrailingSlash)
{
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);

    const std::string file = ModuleFileName();
    const std::string dir = ModuleDirectory();
    EXPECT_EQ(file.substr(file.rfind('/') + 1), "platform_tests");
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(file.rfind(dir, 0), 0u);
}
