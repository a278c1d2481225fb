// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/SharedLibrary.h"

#include <dlfcn.h>

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& path, std::string& error)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = "cannot load plug-in " + path + ": " + (why ? why : "unknown error");
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

std::unique_ptr<SharedLibrary> SharedLibrary::FindLoaded(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    return handle ? std::unique_ptr<SharedLibrary>(new SharedLibrary(handle)) : nullptr;
}

SharedLibrary::~SharedLibrary()
{
    dlclose(mHandle);
}

void* SharedLibrary::Symbol(const char* name) const
{
    return dlsym(mHandle, name);
}
