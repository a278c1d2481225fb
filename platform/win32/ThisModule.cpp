// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/ThisModule.h"

#include <windows.h>

#include <atomic>

namespace {
std::atomic<void*> sRecordedModule{nullptr};
}  // namespace

void RememberThisModule(void* module) noexcept
{
    sRecordedModule.store(module);
}

void* ThisModule() noexcept
{
    if (void* module = sRecordedModule.load())
        return module;
    // Programs (tests, tools) have no DllMain of ours: ask which module holds
    // this very function, as the Linux form asks dladdr.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}
