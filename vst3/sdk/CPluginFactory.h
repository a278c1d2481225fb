// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <atomic>
#include <vector>

namespace Steinberg {

/// Creates one instance of a registered class and returns its basic
/// interface (holding one reference), or nullptr on failure.
using CreateInstanceFunc = FUnknown* (*)(void* context);

/// A module's class factory: the factory information and a list of
/// registered classes, each with its creation callback.
class CPluginFactory : public IPluginFactory3 {
public:
    /// [any] Starts with a reference count of 1, owned by the creator.
    explicit CPluginFactory(const PFactoryInfo& info);
    virtual ~CPluginFactory();

    CPluginFactory(const CPluginFactory&) = delete;
    CPluginFactory& operator=(const CPluginFactory&) = delete;

    /// [any, before the factory is handed out] Registers one class.
    bool registerClass(const PClassInfo2& info, CreateInstanceFunc create, void* context = nullptr);

    // FUnknown
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE;
    uint32 PLUGIN_API release() SMTG_OVERRIDE;

    // IPluginFactory
    tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) SMTG_OVERRIDE;
    int32 PLUGIN_API countClasses() SMTG_OVERRIDE;
    tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) SMTG_OVERRIDE;
    tresult PLUGIN_API createInstance(FIDString cid, FIDString iid, void** obj) SMTG_OVERRIDE;

    // IPluginFactory2
    tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) SMTG_OVERRIDE;

    // IPluginFactory3
    tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) SMTG_OVERRIDE;
    tresult PLUGIN_API setHostContext(FUnknown*) SMTG_OVERRIDE { return kNotImplemented; }

private:
    /// The registered class at `index`, or nullptr outside the list.
    const PClassInfo2* ClassAt(int32 index) const;

    struct Entry {
        PClassInfo2 info;
        CreateInstanceFunc create;
        void* context;
    };

    PFactoryInfo mInfo;
    std::vector<Entry> mClasses;
    std::atomic<uint32> mRefCount{1};
};

} // namespace Steinberg
