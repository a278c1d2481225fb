// SPDX-License-Identifier: GPL-3.0-or-later
// The module's factory: its information, the KELDRA class and the creation
// of instances.
#include "effect/KELDRA.h"
#include "effect/KeldraIdentity.h"
#include "vst3/KeldraClassInfo.h"
#include "vst3/ModuleExport.h"
#include "vst3/sdk/CPluginFactory.h"

#include <cstring>
#include <mutex>
#include <new>

using namespace Steinberg;

namespace {

std::mutex gFactoryMutex;
CPluginFactory* gFactory = nullptr;

/// Copies text into a fixed field, cut to fit and zero-filled behind it.
template <size_t N>
void CopyField(char8 (&field)[N], const char* text)
{
    std::memset(field, 0, N);
    std::strncpy(field, text, N - 1);
}

FUnknown* CreateKeldra(void*)
{
    // Instances are constructed one after the other, whatever thread asks.
    static std::mutex creationMutex;
    std::lock_guard<std::mutex> hold(creationMutex);
    auto* effect = new (std::nothrow) KELDRA();
    if (effect == nullptr)
        return nullptr;
    return static_cast<Vst::IAudioProcessor*>(effect);
}

/// The factory whose last reference was released deletes itself; the module
/// forgets it so that the next GetPluginFactory builds a fresh one.
class KeldraFactory : public CPluginFactory {
public:
    using CPluginFactory::CPluginFactory;
    ~KeldraFactory() override
    {
        std::lock_guard<std::mutex> hold(gFactoryMutex);
        if (gFactory == this)
            gFactory = nullptr;
    }
};

CPluginFactory* BuildFactory()
{
    PFactoryInfo info;
    CopyField(info.vendor, KeldraIdentity::kMaker);
    CopyField(info.url, KeldraIdentity::kMakerWebPage);
    CopyField(info.email, KeldraIdentity::kMakerEmail);
    info.flags = KeldraClassInfo::kFactoryFlags;
    auto* factory = new KeldraFactory(info);

    PClassInfo2 cls;
    std::memcpy(cls.cid, KeldraClassInfo::kClassId, sizeof cls.cid);
    cls.cardinality = KeldraClassInfo::kCardinality;
    CopyField(cls.category, KeldraClassInfo::kCategory);
    CopyField(cls.name, KeldraIdentity::kName);
    cls.classFlags = KeldraClassInfo::kClassFlags;
    CopyField(cls.subCategories, KeldraClassInfo::kSubCategories);
    CopyField(cls.vendor, "");
    CopyField(cls.version, KeldraIdentity::kVersionText);
    CopyField(cls.sdkVersion, KeldraClassInfo::kSdkVersion);
    factory->registerClass(cls, CreateKeldra);
    return factory;
}

} // namespace

KELDRA_EXPORT IPluginFactory* PLUGIN_API GetPluginFactory()
{
    std::lock_guard<std::mutex> hold(gFactoryMutex);
    // A count that was 0 belongs to a factory another thread is deleting
    // (its destructor waits for this lock): that one is not handed out.
    if (gFactory != nullptr && gFactory->addRef() > 1)
        return gFactory;
    gFactory = BuildFactory();
    return gFactory;
}
