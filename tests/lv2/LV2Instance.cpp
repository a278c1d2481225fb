// SPDX-License-Identifier: GPL-3.0-or-later
#include "LV2Instance.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/state/state.h>

#include <dlfcn.h>

#include <cstring>

LV2Module::LV2Module(const std::string& bundle) : mBundle(bundle)
{
    mLibrary = dlopen((bundle + "/keldra.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (mLibrary == nullptr)
        return;
    auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(mLibrary, "lv2_descriptor"));
    mDescriptor = entry != nullptr ? entry(0) : nullptr;
    auto uiEntry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(mLibrary, "lv2ui_descriptor"));
    mUiDescriptor = uiEntry != nullptr ? uiEntry(0) : nullptr;
}

LV2Module::~LV2Module()
{
    if (mLibrary != nullptr)
        dlclose(mLibrary);
}

LV2_URID UridTable::Map(const char* uri)
{
    for (std::size_t i = 0; i < mUris.size(); ++i)
        if (mUris[i] == uri)
            return static_cast<LV2_URID>(i + 1);
    mUris.emplace_back(uri);
    return static_cast<LV2_URID>(mUris.size());
}

LV2_URID UridTable::MapCallback(LV2_URID_Map_Handle handle, const char* uri)
{
    return static_cast<UridTable*>(handle)->Map(uri);
}

LV2Instance::LV2Instance(const LV2Module& module, double rate, int maxBlock)
    : mDescriptor(module.Descriptor()), mMaxBlock(maxBlock)
{
    if (mDescriptor == nullptr)
        return;
    LV2_Feature mapFeature{LV2_URID__map, mUrids.Feature()};
    LV2_Feature optionsFeature{LV2_OPTIONS__options, nullptr};
    std::vector<const LV2_Feature*> features{&mapFeature};
    if (maxBlock > 0) {
        mOptions.push_back({LV2_OPTIONS_INSTANCE, 0, mUrids.Map(LV2_BUF_SIZE__maxBlockLength), sizeof(std::int32_t),
                            mUrids.Map(LV2_ATOM__Int), &mMaxBlock});
        mOptions.push_back({LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr});
        optionsFeature.data = mOptions.data();
        features.push_back(&optionsFeature);
    }
    features.push_back(nullptr);
    mHandle = mDescriptor->instantiate(mDescriptor, rate, module.Bundle().c_str(), features.data());
    if (mHandle == nullptr)
        return;
    for (int i = 0; i < kControls; ++i)
        mDescriptor->connect_port(mHandle, 4 + static_cast<std::uint32_t>(i), &mControls[i]);
    mDescriptor->connect_port(mHandle, kEnablePort, &mEnabled);
    mDescriptor->activate(mHandle);
}

LV2Instance::~LV2Instance()
{
    if (mHandle == nullptr)
        return;
    mDescriptor->deactivate(mHandle);
    mDescriptor->cleanup(mHandle);
}

void LV2Instance::Reactivate()
{
    mDescriptor->deactivate(mHandle);
    mDescriptor->activate(mHandle);
}

std::vector<float> LV2Instance::Run(const std::vector<float>& left, const std::vector<float>& right,
                                    std::uint32_t frames, bool inPlace)
{
    mBuffers[0].assign(left.begin(), left.begin() + frames);
    mBuffers[1].assign(right.begin(), right.begin() + frames);
    mBuffers[2].assign(frames, 0.0f);
    mBuffers[3].assign(frames, 0.0f);
    for (std::uint32_t port = 0; port < 4; ++port) {
        const std::size_t buffer = inPlace ? port % 2 : port;
        mDescriptor->connect_port(mHandle, port, mBuffers[buffer].data());
    }
    mDescriptor->run(mHandle, frames);
    std::vector<float> out;
    for (std::uint32_t f = 0; f < frames; ++f) {
        out.push_back(mBuffers[inPlace ? 0 : 2][f]);
        out.push_back(mBuffers[inPlace ? 1 : 3][f]);
    }
    return out;
}

namespace {

// One stored property, as a host keeps it between save and restore.
struct StoredProperty {
    UridTable* urids;
    std::vector<std::uint8_t> bytes;
    LV2_URID type = 0;
    int stores = 0;
};

LV2_State_Status Store(LV2_State_Handle handle, uint32_t, const void* value, size_t size, uint32_t type, uint32_t)
{
    auto* stored = static_cast<StoredProperty*>(handle);
    const auto* bytes = static_cast<const std::uint8_t*>(value);
    stored->bytes.assign(bytes, bytes + size);
    stored->type = type;
    ++stored->stores;
    return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle handle, uint32_t, size_t* size, uint32_t* type, uint32_t* flags)
{
    auto* stored = static_cast<StoredProperty*>(handle);
    *size = stored->bytes.size();
    *type = stored->type;
    *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    return stored->bytes.data();
}

const LV2_State_Interface* StateInterface(const LV2_Descriptor* descriptor)
{
    return static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
}

} // namespace

std::vector<std::uint8_t> LV2Instance::SaveState(std::string& typeUri)
{
    StoredProperty stored{&mUrids, {}, 0, 0};
    const LV2_State_Interface* state = StateInterface(mDescriptor);
    if (state == nullptr || state->save(mHandle, Store, &stored, LV2_STATE_IS_POD, nullptr) != LV2_STATE_SUCCESS ||
        stored.stores != 1)
        return {};
    typeUri = stored.type == mUrids.Map(LV2_ATOM__Chunk) ? LV2_ATOM__Chunk : "another type";
    return stored.bytes;
}

int LV2Instance::RestoreState(const std::vector<std::uint8_t>& bytes, const char* typeUri)
{
    StoredProperty stored{&mUrids, bytes, mUrids.Map(typeUri), 1};
    const LV2_State_Interface* state = StateInterface(mDescriptor);
    return state != nullptr ? state->restore(mHandle, Retrieve, &stored, 0, nullptr) : LV2_STATE_ERR_UNKNOWN;
}
