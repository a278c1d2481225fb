// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

/// Loads the built KELDRA bundle the way a host does and creates one
/// initialised instance for each test.
class BundleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        module = PluginModule::Load(KELDRA_BUNDLE_PATH, error);
        ASSERT_NE(module, nullptr) << error;
        plugin = PluginInstance::Create(*module, app, handler, error);
        ASSERT_NE(plugin, nullptr) << error;
    }
    void TearDown() override
    {
        plugin.reset();
        module.reset();
    }

    HostApplication app{"KELDRA bundle test"};
    HostComponentHandler handler;
    std::unique_ptr<PluginModule> module;
    std::unique_ptr<PluginInstance> plugin;
};
