// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/PluginModule.h"

#include "host/ClapModuleFactory.h"

#include <cstring>
#include <filesystem>

namespace {

using ModuleEntryProc = bool (*)(void*);
using InitDllProc = bool (*)();
using ModuleExitProc = bool (*)();
using GetFactoryProc = Steinberg::IPluginFactory* (*)();

// Where a bundle keeps its binary, and which entry points the host calls
// around its use: ModuleEntry(handle)/ModuleExit on Linux, InitDll/ExitDll on
// Windows.
#ifdef _WIN32
constexpr const char* kBinaryFolder = "/Contents/x86_64-win/";
constexpr const char* kBinarySuffix = ".vst3";
constexpr const char* kPathSeparators = "/\\";
constexpr const char* kEntryName = "InitDll";
constexpr const char* kExitName = "ExitDll";
#else
#ifdef __aarch64__
constexpr const char* kBinaryFolder = "/Contents/aarch64-linux/";
#else
constexpr const char* kBinaryFolder = "/Contents/x86_64-linux/";
#endif
constexpr const char* kBinarySuffix = ".so";
constexpr const char* kPathSeparators = "/";
constexpr const char* kEntryName = "ModuleEntry";
constexpr const char* kExitName = "ModuleExit";
#endif

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::u8path(path), error);
}

bool Enter(const SharedLibrary& library)
{
    void* entry = library.Symbol(kEntryName);
#ifdef _WIN32
    return reinterpret_cast<InitDllProc>(entry)();
#else
    return reinterpret_cast<ModuleEntryProc>(entry)(library.Handle());
#endif
}

} // namespace

std::string PluginModule::ResolveLibrary(const std::string& path)
{
    if (!IsFolder(path))
        return path;
    std::string folder = path;
    while (folder.size() > 1 && std::strchr(kPathSeparators, folder.back()))
        folder.pop_back();
    std::string name = folder.substr(folder.find_last_of(kPathSeparators) + 1);
    const std::string suffix = ".vst3";
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.resize(name.size() - suffix.size());
    return folder + kBinaryFolder + name + kBinarySuffix;
}

std::unique_ptr<PluginModule> PluginModule::Load(const std::string& path, std::string& error)
{
    std::unique_ptr<PluginModule> module(new PluginModule());
    module->mLibraryPath = ResolveLibrary(path);
    module->mLibrary = SharedLibrary::Open(module->mLibraryPath, error);
    if (module->mLibrary == nullptr)
        return nullptr;
    // A CLAP module is driven through the same VST3 interfaces.
    if (auto* entry = static_cast<const clap_plugin_entry_t*>(module->mLibrary->Symbol("clap_entry"))) {
        module->mFactory = OpenClapFactory(*entry, module->mLibraryPath, error);
        if (module->mFactory == nullptr)
            return nullptr;
        module->mClapEntry = entry;
        return module;
    }
    if (module->mLibrary->Symbol(kEntryName) != nullptr) {
        if (!Enter(*module->mLibrary)) {
            error = "plug-in " + module->mLibraryPath + " refused to start (" + kEntryName + " failed)";
            return nullptr;
        }
        module->mEntered = true;
    }
    auto getFactory = reinterpret_cast<GetFactoryProc>(module->mLibrary->Symbol("GetPluginFactory"));
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
    if (mClapEntry != nullptr)
        mClapEntry->deinit();
    if (mEntered) {
        if (auto exitProc = reinterpret_cast<ModuleExitProc>(mLibrary->Symbol(kExitName)))
            exitProc();
    }
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
