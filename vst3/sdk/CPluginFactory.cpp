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

/// The fields every form of the class information shares.
template <class Info>
void CopyIdentity(Info& dst, const PClassInfo2& src)
{
    std::memcpy(dst.cid, src.cid, sizeof(TUID));
    dst.cardinality = src.cardinality;
    std::memcpy(dst.category, src.category, sizeof dst.category);
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

const PClassInfo2* CPluginFactory::ClassAt(int32 index) const
{
    return index >= 0 && index < static_cast<int32>(mClasses.size()) ? &mClasses[index].info : nullptr;
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
    const PClassInfo2* src = ClassAt(index);
    if (info == nullptr || src == nullptr)
        return kInvalidArgument;
    *info = PClassInfo();
    CopyIdentity(*info, *src);
    std::memcpy(info->name, src->name, sizeof info->name);
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
    const PClassInfo2* src = ClassAt(index);
    if (info == nullptr || src == nullptr)
        return kInvalidArgument;
    *info = *src;
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
    const PClassInfo2* src = ClassAt(index);
    if (info == nullptr || src == nullptr)
        return kInvalidArgument;
    *info = PClassInfoW();
    CopyIdentity(*info, *src);
    Widen(info->name, src->name);
    info->classFlags = src->classFlags;
    std::memcpy(info->subCategories, src->subCategories, sizeof info->subCategories);
    Widen(info->vendor, src->vendor);
    Widen(info->version, src->version);
    Widen(info->sdkVersion, src->sdkVersion);
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
