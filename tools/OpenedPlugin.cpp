// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/OpenedPlugin.h"

#include <utility>

OpenedPlugin::OpenedPlugin(std::unique_ptr<PluginModule> module, const std::string& hostName)
    : mModule(std::move(module)), mApp(hostName)
{
}

std::unique_ptr<OpenedPlugin> OpenedPlugin::Open(const std::string& bundle, const std::string& hostName,
                                                 std::string& error)
{
    auto module = PluginModule::Load(bundle, error);
    if (!module)
        return nullptr;
    // The instance keeps pointers to the host objects: they need their final address first.
    std::unique_ptr<OpenedPlugin> opened(new OpenedPlugin(std::move(module), hostName));
    opened->mInstance = PluginInstance::Create(*opened->mModule, opened->mApp, opened->mHandler, error);
    if (!opened->mInstance)
        return nullptr;
    return opened;
}
