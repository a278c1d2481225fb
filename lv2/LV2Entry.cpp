// SPDX-License-Identifier: GPL-3.0-or-later
// The module's LV2 entry point: the plug-in descriptor over IEffectLV2 and
// the state interface that saves the state chunk as one atom:Chunk property.
#include "lv2/LV2Entry.h"

#include "lv2/IEffectLV2.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <vector>

namespace {

// Scratch arrays for hosts that do not say how long their blocks get; longer
// blocks run in parts.
constexpr int kDefaultMaxBlock = 1024;

// The effect with what it learned of the host at instantiation.
struct Instance {
    IEffectLV2* effect = nullptr;
    LV2_URID chunkKey = 0;
    LV2_URID chunkType = 0;
};

const void* FindFeature(const LV2_Feature* const* features, const char* uri)
{
    for (int i = 0; features != nullptr && features[i] != nullptr; ++i)
        if (std::strcmp(features[i]->URI, uri) == 0)
            return features[i]->data;
    return nullptr;
}

// The host's largest block from its options, or the default.
int MaxBlockLength(const LV2_Feature* const* features, const LV2_URID_Map* map)
{
    const auto* options = static_cast<const LV2_Options_Option*>(FindFeature(features, LV2_OPTIONS__options));
    if (options == nullptr || map == nullptr)
        return kDefaultMaxBlock;
    const LV2_URID maxLength = map->map(map->handle, LV2_BUF_SIZE__maxBlockLength);
    const LV2_URID intType = map->map(map->handle, LV2_ATOM__Int);
    for (const LV2_Options_Option* o = options; o->key != 0; ++o)
        if (o->key == maxLength && o->type == intType && o->size == sizeof(int32_t) && o->value != nullptr) {
            const int32_t frames = *static_cast<const int32_t*>(o->value);
            return frames > 0 ? frames : kDefaultMaxBlock;
        }
    return kDefaultMaxBlock;
}

LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features)
{
    const auto* map = static_cast<const LV2_URID_Map*>(FindFeature(features, LV2_URID__map));
    auto* instance = new Instance;
    instance->effect = CreateLV2Effect();
    if (map != nullptr) {
        instance->chunkKey = map->map(map->handle, kLV2StateChunkUri);
        instance->chunkType = map->map(map->handle, LV2_ATOM__Chunk);
    }
    if (!instance->effect->Start(rate, MaxBlockLength(features, map))) {
        delete instance->effect;
        delete instance;
        return nullptr;
    }
    return instance;
}

void ConnectPort(LV2_Handle handle, uint32_t port, void* data)
{
    EffectOfInstance(handle).ConnectPort(port, data);
}

void Activate(LV2_Handle handle)
{
    EffectOfInstance(handle).Activate();
}

void Run(LV2_Handle handle, uint32_t frames)
{
    EffectOfInstance(handle).Run(frames);
}

void Deactivate(LV2_Handle handle)
{
    EffectOfInstance(handle).Deactivate();
}

void Cleanup(LV2_Handle handle)
{
    auto* instance = static_cast<Instance*>(handle);
    delete instance->effect;
    delete instance;
}

LV2_State_Status SaveState(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state,
                           uint32_t, const LV2_Feature* const*)
{
    const Instance& instance = *static_cast<Instance*>(handle);
    if (instance.chunkKey == 0)
        return LV2_STATE_ERR_NO_FEATURE;
    // Made under the plug-in's lock, handed to the host after it.
    std::vector<uint8_t> bytes;
    if (!instance.effect->SaveStateChunk(bytes))
        return LV2_STATE_ERR_UNKNOWN;
    return store(state, instance.chunkKey, bytes.data(), bytes.size(), instance.chunkType,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status RestoreState(LV2_Handle handle, LV2_State_Retrieve_Function retrieve, LV2_State_Handle state,
                              uint32_t, const LV2_Feature* const*)
{
    const Instance& instance = *static_cast<Instance*>(handle);
    if (instance.chunkKey == 0)
        return LV2_STATE_ERR_NO_FEATURE;
    size_t size = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    const void* data = retrieve(state, instance.chunkKey, &size, &type, &flags);
    if (data == nullptr)
        return LV2_STATE_ERR_NO_PROPERTY;
    if (type != instance.chunkType)
        return LV2_STATE_ERR_BAD_TYPE;
    return instance.effect->LoadStateChunk(static_cast<const uint8_t*>(data), size) ? LV2_STATE_SUCCESS
                                                                                  : LV2_STATE_ERR_UNKNOWN;
}

const void* ExtensionData(const char* uri)
{
    static const LV2_State_Interface state = {SaveState, RestoreState};
    if (std::strcmp(uri, LV2_STATE__interface) == 0)
        return &state;
    return nullptr;
}

} // namespace

IEffectLV2& EffectOfInstance(void* handle)
{
    return *static_cast<Instance*>(handle)->effect;
}

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
    static const LV2_Descriptor descriptor = {kLV2PluginUri, Instantiate, ConnectPort, Activate,
                                              Run,           Deactivate,  Cleanup,     ExtensionData};
    return index == 0 ? &descriptor : nullptr;
}
