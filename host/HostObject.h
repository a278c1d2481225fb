// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pluginterfaces/base/funknown.h"

#include <atomic>

/// Shared FUnknown behaviour of the host-side objects handed to a plug-in.
/// The host owns these objects by value and keeps them alive longer than any
/// plug-in that may hold them, so the reference count is kept (plug-ins and
/// tests can read it) but never deletes the object.
template <class First, class... More>
class HostObject : public First, public More... {
public:
    HostObject() = default;
    HostObject(const HostObject&) = delete;
    HostObject& operator=(const HostObject&) = delete;
    virtual ~HostObject() = default;

    /// [any] Answers the listed interfaces and FUnknown.
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override
    {
        if (obj == nullptr)
            return Steinberg::kInvalidArgument;
        if (Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid)) {
            *obj = static_cast<First*>(this);
            addRef();
            return Steinberg::kResultOk;
        }
        *obj = nullptr;
        (void)(Match<First>(iid, obj) || (Match<More>(iid, obj) || ...));
        return *obj != nullptr ? Steinberg::kResultOk : Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return ++mRefs; }
    Steinberg::uint32 PLUGIN_API release() override { return --mRefs; }

    /// [any] References held by others beyond the owner.
    Steinberg::uint32 References() const { return mRefs.load(); }

private:
    template <class I>
    bool Match(const Steinberg::TUID iid, void** obj)
    {
        if (!Steinberg::FUnknownPrivate::iidEqual(iid, I::iid))
            return false;
        *obj = static_cast<I*>(this);
        addRef();
        return true;
    }

    std::atomic<Steinberg::uint32> mRefs{0};
};
