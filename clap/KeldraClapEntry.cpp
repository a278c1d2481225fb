// SPDX-License-Identifier: GPL-3.0-or-later
// The module's one export, clap_entry: the KELDRA descriptor, the factory
// that creates instances and the one that declares the factory presets.
#include "clap/ClapAbi.h"
#include "clap/KeldraClapPresets.h"
#include "effect/KELDRA.h"
#include "effect/KeldraIdentity.h"

#include <cstring>
#include <mutex>
#include <new>

namespace {

constexpr const char* kFeatures[] = {"audio-effect", "equalizer", "stereo", nullptr};

constexpr clap_plugin_descriptor_t kDescriptor = {
    kClapVersion,
    KeldraIdentity::kClapId,
    KeldraIdentity::kName,
    KeldraIdentity::kMaker,
    KeldraIdentity::kWebPage,
    "",
    "",
    KeldraIdentity::kVersionText,
    KeldraIdentity::kDescription,
    kFeatures,
};

uint32_t CLAP_ABI PluginCount(const clap_plugin_factory_t*)
{
    return 1;
}

const clap_plugin_descriptor_t* CLAP_ABI Descriptor(const clap_plugin_factory_t*, uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}

const clap_plugin_t* CLAP_ABI CreatePlugin(const clap_plugin_factory_t*, const clap_host_t* host, const char* id)
{
    if (host == nullptr || id == nullptr || std::strcmp(id, kDescriptor.id) != 0)
        return nullptr;
    // Instances are constructed one after the other, whatever thread asks.
    static std::mutex creationMutex;
    std::lock_guard<std::mutex> hold(creationMutex);
    auto* effect = new (std::nothrow) KELDRA();
    if (effect == nullptr)
        return nullptr;
    effect->Bind(host, &kDescriptor);
    return effect->Plugin();
}

constexpr clap_plugin_factory_t kFactory = {PluginCount, Descriptor, CreatePlugin};

bool CLAP_ABI EntryInit(const char*)
{
    // The artwork is built into the module: nothing to find on disk.
    return true;
}

void CLAP_ABI EntryDeinit() {}

const void* CLAP_ABI Factory(const char* id)
{
    if (id == nullptr)
        return nullptr;
    if (std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) == 0)
        return &kFactory;
    if (std::strcmp(id, CLAP_PRESET_DISCOVERY_FACTORY_ID) == 0 ||
        std::strcmp(id, CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT) == 0)
        return KeldraClapPresets::Factory();
    return nullptr;
}

} // namespace

#ifdef _WIN32
extern "C" __declspec(dllexport) const clap_plugin_entry_t clap_entry;
#else
extern "C" __attribute__((visibility("default"))) const clap_plugin_entry_t clap_entry;
#endif
const clap_plugin_entry_t clap_entry = {kClapVersion, EntryInit, EntryDeinit, Factory};
