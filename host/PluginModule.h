// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "host/SharedLibrary.h"
#include "pluginterfaces/base/ipluginbase.h"

#include <memory>
#include <optional>
#include <string>

struct clap_plugin_entry_t;

/// A loaded VST3 module: the shared library of a bundle, entered and holding
/// its factory; or a CLAP module (NAME.clap, exporting clap_entry), started
/// and seen through a VST3 factory of ClapEffectAdapter classes. Destroying it releases the factory, leaves the module and
/// unloads it; every instance made from it must be gone by then.
class PluginModule {
public:
    /// [ui] Loads `path`: a bundle folder (NAME.vst3, whose
    /// Contents/x86_64-linux/NAME.so (aarch64-linux on arm64), on Windows
    /// Contents/x86_64-win/NAME.vst3,
    /// is loaded), a CLAP module or the shared library itself.
    /// On failure returns nullptr and puts one line of explanation in `error`.
    static std::unique_ptr<PluginModule> Load(const std::string& path, std::string& error);

    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    /// [ui] The module's factory (borrowed; the module holds one reference).
    Steinberg::IPluginFactory* Factory() const { return mFactory; }
    /// [ui] The shared object that was loaded.
    const std::string& LibraryPath() const { return mLibraryPath; }
    /// [ui] The first class of category "Audio Module Class", if any.
    std::optional<Steinberg::PClassInfo> FindEffectClass() const;

    /// [ui] The shared object inside a bundle folder, or `path` itself when it
    /// is not a folder.
    static std::string ResolveLibrary(const std::string& path);

private:
    PluginModule() = default;

    // Declared first, so that it is unloaded last.
    std::unique_ptr<SharedLibrary> mLibrary;
    Steinberg::IPluginFactory* mFactory = nullptr;
    bool mEntered = false;
    const clap_plugin_entry_t* mClapEntry = nullptr;
    std::string mLibraryPath;
};
