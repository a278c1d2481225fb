// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/PluginModule.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

TEST(PluginModule, BundleFoldersResolveToTheirLinuxSharedObject)
{
    char folder[] = "/tmp/keldra-module-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string bundle = std::string(folder) + "/Echo.vst3";
    ASSERT_EQ(mkdir(bundle.c_str(), 0700), 0);
    EXPECT_EQ(PluginModule::ResolveLibrary(bundle), bundle + "/Contents/x86_64-linux/Echo.so");
    EXPECT_EQ(PluginModule::ResolveLibrary(bundle + "/"), bundle + "/Contents/x86_64-linux/Echo.so");
    EXPECT_EQ(PluginModule::ResolveLibrary("/no/such/thing.so"), "/no/such/thing.so");
    rmdir(bundle.c_str());
    rmdir(folder);
}

TEST(PluginModule, LoadFailuresExplainThemselves)
{
    std::string error;
    EXPECT_EQ(PluginModule::Load("/no/such/KELDRA.vst3", error), nullptr);
    EXPECT_NE(error.find("cannot load plug-in"), std::string::npos) << error;

    char path[] = "/tmp/keldra-notamodule-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    std::ofstream(path) << "not a shared object";
    error.clear();
    EXPECT_EQ(PluginModule::Load(path, error), nullptr);
    EXPECT_FALSE(error.empty());
    std::remove(path);
}
