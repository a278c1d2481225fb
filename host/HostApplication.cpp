// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HostApplication.h"

#include <utility>

HostApplication::HostApplication(std::string name) : mName(std::move(name)) {}

Steinberg::tresult PLUGIN_API HostApplication::getName(Steinberg::Vst::String128 name)
{
    if (name == nullptr)
        return Steinberg::kInvalidArgument;
    size_t i = 0;
    for (; i < mName.size() && i < 127; ++i)
        name[i] = static_cast<Steinberg::char16>(static_cast<unsigned char>(mName[i]));
    name[i] = 0;
    return Steinberg::kResultOk;
}

Steinberg::tresult PLUGIN_API HostApplication::createInstance(Steinberg::TUID, Steinberg::TUID,
                                                              void** obj)
{
    if (obj != nullptr)
        *obj = nullptr;
    return Steinberg::kResultFalse;
}
