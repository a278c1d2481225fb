// SPDX-License-Identifier: GPL-3.0-or-later
#include "clap/ClapPresetLoad.h"

#include "clap/IEffectCLAP.h"

#include <cstdio>
#include <cstring>

namespace {

int PresetNamed(IEffectBase& effect, const char* name) noexcept
{
    for (int i = 0; name != nullptr && i < effect.GetPresetCount(); ++i)
        if (effect.GetPreset(i)->IsInitialized() && std::strcmp(effect.GetPreset(i)->Name(), name) == 0)
            return i;
    return -1;
}

// A refused load changes nothing and says why, where the host listens.
bool Refuse(const IEffectCLAP& effect, uint32_t kind, const char* location, const char* key, const char* why)
{
    const auto* host = static_cast<const clap_host_preset_load_t*>(effect.HostExtension(CLAP_EXT_PRESET_LOAD));
    if (host != nullptr && host->on_error != nullptr) {
        char message[512];
        std::snprintf(message, sizeof message, "%s: %s", why, key != nullptr ? key : "(no key)");
        host->on_error(effect.Host(), kind, location, key, 0, message);
    }
    return false;
}

bool CLAP_ABI FromLocation(const clap_plugin_t* plugin, uint32_t kind, const char* location, const char* key)
{
    IEffectCLAP* effect = IEffectCLAP::From(plugin);
    if (effect == nullptr)
        return false;
    if (kind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || location != nullptr)
        return Refuse(*effect, kind, location, key, "KELDRA's presets are inside the plug-in, not in files");
    const int index = PresetNamed(*effect, key);
    if (index < 0 || !effect->LoadPreset(index))
        return Refuse(*effect, kind, location, key, "KELDRA has no preset of that name");
    // Every value moved: the host reads them back and keeps the project's change.
    const auto* params = static_cast<const clap_host_params_t*>(effect->HostExtension(CLAP_EXT_PARAMS));
    if (params != nullptr && params->rescan != nullptr)
        params->rescan(effect->Host(), CLAP_PARAM_RESCAN_VALUES);
    const auto* state = static_cast<const clap_host_state_t*>(effect->HostExtension(CLAP_EXT_STATE));
    if (state != nullptr && state->mark_dirty != nullptr)
        state->mark_dirty(effect->Host());
    const auto* host = static_cast<const clap_host_preset_load_t*>(effect->HostExtension(CLAP_EXT_PRESET_LOAD));
    if (host != nullptr && host->loaded != nullptr)
        host->loaded(effect->Host(), kind, location, key);
    return true;
}

constexpr clap_plugin_preset_load_t kPresetLoad = {FromLocation};

} // namespace

namespace ClapPresetLoad {

const clap_plugin_preset_load_t* Extension() noexcept
{
    return &kPresetLoad;
}

} // namespace ClapPresetLoad
