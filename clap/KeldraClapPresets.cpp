// SPDX-License-Identifier: GPL-3.0-or-later
#include "clap/KeldraClapPresets.h"

#include "effect/KeldraIdentity.h"
#include "effect/KeldraPresets.h"

#include <cstring>
#include <new>

namespace {

constexpr clap_preset_discovery_provider_descriptor_t kDescriptor = {
    kClapVersion, "com.brackenfold.keldra.factory-presets", "KELDRA factory presets", KeldraIdentity::kMaker};

/// A provider remembers the indexer it was created for, to declare its
/// location to it in init.
struct Provider {
    clap_preset_discovery_provider_t clap;
    const clap_preset_discovery_indexer_t* indexer;
};

const Provider& From(const clap_preset_discovery_provider_t* provider)
{
    return *static_cast<const Provider*>(provider->provider_data);
}

bool CLAP_ABI Init(const clap_preset_discovery_provider_t* provider)
{
    const clap_preset_discovery_indexer_t* indexer = From(provider).indexer;
    const clap_preset_discovery_location_t location = {CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT,
                                                       kDescriptor.name, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN,
                                                       nullptr};
    return indexer->declare_location != nullptr && indexer->declare_location(indexer, &location);
}

void CLAP_ABI Destroy(const clap_preset_discovery_provider_t* provider)
{
    delete &From(provider);
}

bool CLAP_ABI GetMetadata(const clap_preset_discovery_provider_t*, uint32_t kind, const char* location,
                          const clap_preset_discovery_metadata_receiver_t* receiver)
{
    if (kind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || location != nullptr || receiver == nullptr)
        return false;
    const clap_universal_plugin_id_t plugin = {"clap", KeldraIdentity::kClapId};
    for (const KeldraPresets::Preset& preset : KeldraPresets::kPresets) {
        if (!receiver->begin_preset(receiver, preset.name, preset.name))
            break;
        receiver->add_plugin_id(receiver, &plugin);
        receiver->set_flags(receiver, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);
        receiver->add_creator(receiver, KeldraIdentity::kMaker);
        receiver->set_description(receiver, preset.use);
    }
    return true;
}

const void* CLAP_ABI ProviderExtension(const clap_preset_discovery_provider_t*, const char*)
{
    return nullptr;
}

uint32_t CLAP_ABI Count(const clap_preset_discovery_factory_t*)
{
    return 1;
}

const clap_preset_discovery_provider_descriptor_t* CLAP_ABI Descriptor(const clap_preset_discovery_factory_t*,
                                                                        uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}

const clap_preset_discovery_provider_t* CLAP_ABI Create(const clap_preset_discovery_factory_t*,
                                                        const clap_preset_discovery_indexer_t* indexer,
                                                        const char* id)
{
    if (indexer == nullptr || id == nullptr || std::strcmp(id, kDescriptor.id) != 0)
        return nullptr;
    auto* provider = new (std::nothrow) Provider{{&kDescriptor, nullptr, Init, Destroy, GetMetadata, ProviderExtension},
                                                 indexer};
    if (provider == nullptr)
        return nullptr;
    provider->clap.provider_data = provider;
    return &provider->clap;
}

constexpr clap_preset_discovery_factory_t kFactory = {Count, Descriptor, Create};

} // namespace

namespace KeldraClapPresets {

const clap_preset_discovery_factory_t* Factory() noexcept
{
    return &kFactory;
}

} // namespace KeldraClapPresets
