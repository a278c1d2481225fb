// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/ClapModuleFactory.h"

#include "host/ClapEffectAdapter.h"
#include "vst3/sdk/CPluginFactory.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

using namespace Steinberg;

namespace {

/// What the creation callback of one class needs: the module's factory and
/// the CLAP id of the plug-in.
struct ClassContext {
    const clap_plugin_factory_t* factory;
    std::string pluginId;
};

FUnknown* CreateAdapter(void* context)
{
    const auto& cls = *static_cast<const ClassContext*>(context);
    auto* adapter = new ClapEffectAdapter(*cls.factory, cls.pluginId);
    return static_cast<Vst::IAudioProcessor*>(adapter);
}

/// The VST3 factory over a CLAP module; it owns the classes' contexts.
class ClapPluginFactory : public CPluginFactory {
public:
    using CPluginFactory::CPluginFactory;

    void AddPlugin(const clap_plugin_factory_t& factory, const clap_plugin_descriptor_t& descriptor)
    {
        mContexts.push_back(std::make_unique<ClassContext>(ClassContext{&factory, descriptor.id}));
        PClassInfo2 cls;
        // The CLAP id's first 16 bytes (zero-padded) stand in for a class id.
        std::memset(cls.cid, 0, sizeof cls.cid);
        std::memcpy(cls.cid, descriptor.id, std::min(std::strlen(descriptor.id), sizeof cls.cid));
        cls.cardinality = PClassInfo::kManyInstances;
        std::strncpy(cls.category, kVstAudioEffectClass, sizeof cls.category - 1);
        std::strncpy(cls.name, descriptor.name != nullptr ? descriptor.name : "", sizeof cls.name - 1);
        std::strncpy(cls.vendor, descriptor.vendor != nullptr ? descriptor.vendor : "", sizeof cls.vendor - 1);
        std::strncpy(cls.version, descriptor.version != nullptr ? descriptor.version : "", sizeof cls.version - 1);
        std::strncpy(cls.sdkVersion, "CLAP", sizeof cls.sdkVersion - 1);
        registerClass(cls, CreateAdapter, mContexts.back().get());
    }

private:
    std::vector<std::unique_ptr<ClassContext>> mContexts;
};

} // namespace

IPluginFactory* OpenClapFactory(const clap_plugin_entry_t& entry, const std::string& path, std::string& error)
{
    if (!entry.init(path.c_str())) {
        error = "CLAP plug-in " + path + " refused to start (init failed)";
        return nullptr;
    }
    const auto* factory = static_cast<const clap_plugin_factory_t*>(entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    if (factory == nullptr) {
        entry.deinit();
        error = "CLAP module " + path + " has no plug-in factory";
        return nullptr;
    }
    PFactoryInfo info;
    auto* vst3Factory = new ClapPluginFactory(info);
    for (uint32_t i = 0; i < factory->get_plugin_count(factory); ++i)
        if (const clap_plugin_descriptor_t* descriptor = factory->get_plugin_descriptor(factory, i))
            vst3Factory->AddPlugin(*factory, *descriptor);
    return vst3Factory;
}
