// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/HostApplication.h"
#include "host/HostComponentHandler.h"
#include "host/PluginInstance.h"
#include "host/PluginModule.h"

#include <memory>
#include <string>

/// A plug-in opened by a command-line tool: the module, the host objects the
/// instance refers to and the instance, kept alive together and released in
/// the right order (instance first, module last).
class OpenedPlugin {
public:
    /// [ui] Loads `bundle` and creates its effect for a host called
    /// `hostName`; nothing and a one-line `error` if either fails.
    static std::unique_ptr<OpenedPlugin> Open(const std::string& bundle, const std::string& hostName,
                                              std::string& error);

    PluginInstance& Instance() noexcept { return *mInstance; }

private:
    OpenedPlugin(std::unique_ptr<PluginModule> module, const std::string& hostName);

    std::unique_ptr<PluginModule> mModule;
    HostApplication mApp;
    HostComponentHandler mHandler;
    std::unique_ptr<PluginInstance> mInstance;
};
