// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/PluginModule.h"

#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {
#ifdef _WIN32
constexpr const char* kBinary = "/Contents/x86_64-win/Echo.vst3";
#elif defined(__aarch64__)
constexpr const char* kBinary = "/Contents/aarch64-linux/Echo.so";
#else
constexpr const char* kBinary = "/Contents/x86_64-linux/Echo.so";
#endif
}  // namespace

TEST(PluginModule, BundleFoldersResolveToTheirSystemsLibrary)
{
    TemporaryFolder folder("keldra-module-");
    const std::string bundle = folder.Path("Echo.vst3");
    ASSERT_TRUE(std::filesystem::create_directory(bundle));
    EXPECT_EQ(PluginModule::ResolveLibrary(bundle), bundle + kBinary);
    EXPECT_EQ(PluginModule::ResolveLibrary(bundle + "/"), bundle + kBinary);
    EXPECT_EQ(PluginModule::ResolveLibrary("/no/such/thing.so"), "/no/such/thing.so");
}

TEST(PluginModule, LoadFailuresExplainThemselves)
{
    std::string error;
    EXPECT_EQ(PluginModule::Load("/no/such/KELDRA.vst3", error), nullptr);
    EXPECT_NE(error.find("cannot load plug-in"), std::string::npos) << error;

    TemporaryFolder folder("keldra-notamodule-");
    const std::string path = folder.Path("junk");
    std::ofstream(path) << "not a shared object";
    error.clear();
    EXPECT_EQ(PluginModule::Load(path, error), nullptr);
    EXPECT_FALSE(error.empty());
}
