// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/PluginModule.h"

#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>

namespace {

using ModuleEntryProc = bool (*)(void*);
using ModuleExitProc = bool (*)();
using GetFactoryProc = Steinberg::IPluginFactory* (*)();

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string PluginModule::ResolveLibrary(const std::string& path)
{
    if (!IsFolder(path))
        return path;
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::string name = folder.substr(folder.find_last_of('/') + 1);
    const std::string suffix = ".vst3";
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.resize(name.size() - suffix.size());
    return folder + "/Contents/x86_64-linux/" + name + ".so";
}

std::unique_ptr<PluginModule> PluginModule::Load(const std::string& path, std::string& error)
{
    std::unique_ptr<PluginModule> module(new PluginModule());
    module->mLibraryPath = ResolveLibrary(path);
    module->mHandle = dlopen(module->mLibraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module->mHandle == nullptr) {
        const char* why = dlerror();
        error = "cannot load plug-in " + module->mLibraryPath + ": " + (why ? why : "unknown error");
        return nullptr;
    }
    auto entry = reinterpret_cast<ModuleEntryProc>(dlsym(module->mHandle, "ModuleEntry"));
    if (entry != nullptr) {
        if (!entry(module->mHandle)) {
            error = "plug-in " + module->mLibraryPath + " refused to start (ModuleEntry failed)";
            return nullptr;
        }
        module->mEntered = true;
    }
    auto getFactory = reinterpret_cast<GetFactoryProc>(dlsym(module->mHandle, "GetPluginFactory"));
    if (getFactory == nullptr) {
        error = module->mLibraryPath + " is not a VST3 module (no GetPluginFactory)";
        return nullptr;
    }
    module->mFactory = getFactory();
    if (module->mFactory == nullptr) {
        error = "plug-in " + module->mLibraryPath + " gave no factory";
        return nullptr;
    }
    return module;
}

PluginModule::~PluginModule()
{
    if (mFactory != nullptr)
        mFactory->release();
    if (mEntered) {
        if (auto exitProc = reinterpret_cast<ModuleExitProc>(dlsym(mHandle, "ModuleExit")))
            exitProc();
    }
    if (mHandle != nullptr)
        dlclose(mHandle);
}

std::optional<Steinberg::PClassInfo> PluginModule::FindEffectClass() const
{
    const Steinberg::int32 count = mFactory->countClasses();
    for (Steinberg::int32 i = 0; i < count; ++i) {
        Steinberg::PClassInfo info;
        if (mFactory->getClassInfo(i, &info) == Steinberg::kResultOk &&
            std::strncmp(info.category, "Audio Module Class", sizeof info.category) == 0)
            return info;
    }
    return std::nullopt;
}
