// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ModulePath.h"

#include <gtest/gtest.h>

namespace {
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif
}  // namespace

TEST(ModulePath, NamesThisProgramAndKeepsTheFoldersTrailingSeparator)
{
    const std::string file = ModuleFileName();
    const std::string dir = ModuleDirectory();
    EXPECT_EQ(file.substr(file.rfind(kSeparator) + 1), PROGRAM_FILE_NAME);
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), kSeparator);
    EXPECT_EQ(file.rfind(dir, 0), 0u);
}
