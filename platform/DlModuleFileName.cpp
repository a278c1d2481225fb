// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ModulePath.h"

#include <dlfcn.h>

std::string ModuleFileName()
{
    // Any symbol of this module will do: dladdr names the object that holds it.
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModuleFileName), &info) == 0 || !info.dli_fname)
        return {};
    return info.dli_fname;
}
