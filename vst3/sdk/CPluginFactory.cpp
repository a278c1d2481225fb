// SPDX-License-Identifier: GPL-3.0-or-later
#include "vst3/sdk/CPluginFactory.h"

#include <cstring>

namespace Steinberg {
namespace {

/// Widens 8-bit text unit by unit into a zero-filled UTF-16 field.
template <size_t N>
void Widen(char16 (&dst)[N], const char8* src)
{
    std::memset(dst, 0, sizeof dst);
    for (size_t i = 0; i + 1 < N && src[i] != 0; ++i)
        dst[i] = static_cast<char16>(static_cast<unsigned char>(src[i]));
}

} // namespace

CPluginFactory::CPluginFactory(const PFactoryInfo& info) : mInfo(info) {}

CPluginFactory::~CPluginFactory() = default;

bool CPluginFactory::registerClass(const PClassInfo2& info, CreateInstanceFunc create, void* context)
{
    if (create == nullptr)
        return false;
    mClasses.push_back({info, create, context});
    return true;
}

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IPluginFactory::iid) ||
        FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid) ||
        FUnknownPrivate::iidEqual(iid, IPluginFactory3::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        addRef();
        *obj = static_cast<IPluginFactory3*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef()
{
    return ++mRefCount;
}

uint32 PLUGIN_API CPluginFactory::release()
{
    const uint32 left = --mRefCount;
    if (left == 0)
        delete this;
    return left;
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
    if (info == nullptr)
        return kInvalidArgument;
    *info = mInfo;
    return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses()
{
    return static_cast<int32>(mClasses.size());
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
    if (info == nullptr || index < 0 || index >= countClasses())
        return kInvalidArgument;
    const PClassInfo2& src = mClasses[index].info;
    *info = PClassInfo();
    std::memcpy(info->cid, src.cid, sizeof(TUID));
    info->cardinality = src.cardinality;
    std::memcpy(info->category, src.category, sizeof info->category);
    std::memcpy(info->name, src.name, sizeof info->name);
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
    if (info == nullptr || index < 0 || index >= countClasses())
        return kInvalidArgument;
    *info = mClasses[index].info;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
    if (info == nullptr || index < 0 || index >= countClasses())
        return kInvalidArgument;
    const PClassInfo2& src = mClasses[index].info;
    *info = PClassInfoW();
    std::memcpy(info->cid, src.cid, sizeof(TUID));
    info->cardinality = src.cardinality;
    std::memcpy(info->category, src.category, sizeof info->category);
    Widen(info->name, src.name);
    info->classFlags = src.classFlags;
    std::memcpy(info->subCategories, src.subCategories, sizeof info->subCategories);
    Widen(info->vendor, src.vendor);
    Widen(info->version, src.version);
    Widen(info->sdkVersion, src.sdkVersion);
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    *obj = nullptr;
    if (cid == nullptr || iid == nullptr)
        return kInvalidArgument;
    for (const Entry& entry : mClasses) {
        if (!FUnknownPrivate::iidEqual(entry.info.cid, cid))
            continue;
        FUnknown* instance = entry.create(entry.context);
        if (instance == nullptr)
            return kOutOfMemory;
        const tresult result = instance->queryInterface(iid, obj);
        instance->release();
        if (result != kResultOk)
            *obj = nullptr;
        return result;
    }
    return kNoInterface;
}

} // namespace Steinberg
