// SPDX-License-Identifier: GPL-3.0-or-later
// The host library's life cycle against the built bundle: load, create,
// set up, process, save, restore, tear down, unload and load again.
#include "host/HostParameterChanges.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST(PluginInstance, ModuleUnloadsAndLoadsAgainWithAFreshFactory)
{
    std::string error;
    std::string library;
    for (int round = 0; round < 2; ++round) {
        auto module = PluginModule::Load(KELDRA_BUNDLE_PATH, error);
        ASSERT_NE(module, nullptr) << error;
        library = module->LibraryPath();
        HostApplication app;
        HostComponentHandler handler;
        auto plugin = PluginInstance::Create(*module, app, handler, error);
        ASSERT_NE(plugin, nullptr) << error;
        EXPECT_EQ(plugin->Parameters().size(), 10u);
        plugin.reset();
        module.reset();
        // Nothing else holds the module: it is gone from the process.
        EXPECT_EQ(SharedLibrary::FindLoaded(library), nullptr) << "round " << round;
    }
}

TEST(PluginInstance, SetupCanBeRepeatedAndStateTravelsBetweenInstances)
{
    std::string error;
    auto module = PluginModule::Load(KELDRA_BUNDLE_PATH, error);
    ASSERT_NE(module, nullptr) << error;
    HostApplication app;
    HostComponentHandler handler;
    auto first = PluginInstance::Create(*module, app, handler, error);
    ASSERT_NE(first, nullptr) << error;

    ProcessSettings settings;
    ASSERT_TRUE(first->Setup(settings, error)) << error;
    settings.channels = 1;
    settings.sampleRate = 96000.0;
    ASSERT_TRUE(first->Setup(settings, error)) << error;
    std::vector<float> in(64, 0.1f), out(64, 0.0f);
    float* inPtr[1] = {in.data()};
    float* outPtr[1] = {out.data()};
    HostParameterChanges changes;
    changes.Add(4, 0.25);
    changes.Add(0x62706173, 1.0);
    EXPECT_EQ(first->Process32(inPtr, outPtr, 64, &changes), kResultOk);
    EXPECT_EQ(out, in);  // bypassed

    const std::vector<uint8_t> state = first->SaveState();
    ASSERT_EQ(state.size(), 68u);
    auto second = PluginInstance::Create(*module, app, handler, error);
    ASSERT_NE(second, nullptr) << error;
    EXPECT_EQ(second->LoadState(state), kResultOk);
    EXPECT_EQ(second->SaveState(), state);
    EXPECT_DOUBLE_EQ(second->Controller()->getParamNormalized(4), 0.25);
    EXPECT_EQ(second->Controller()->getParamNormalized(0x62706173), 1.0);

    ProcessSettings wrong;
    wrong.channels = 3;
    EXPECT_FALSE(second->Setup(wrong, error));
    EXPECT_NE(error.find("3-channel"), std::string::npos) << error;
}
