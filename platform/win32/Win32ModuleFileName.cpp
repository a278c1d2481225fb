// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ModulePath.h"
#include "platform/win32/ThisModule.h"
#include "platform/win32/Utf16.h"

#include <windows.h>

std::string ModuleFileName()
{
    // GetModuleFileNameW truncates silently when the buffer is too small (it
    // then fills it completely): grow until the name fits, up to the longest
    // path Windows has.
    constexpr size_t kLongestPath = 32768;
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD units = GetModuleFileNameW(static_cast<HMODULE>(ThisModule()), name.data(), DWORD(name.size()));
        if (units == 0) return {};
        if (units < name.size()) {
            name.resize(units);
            return Utf16ToUtf8(name);
        }
        if (name.size() >= kLongestPath) return {};
        name.resize(name.size() * 2);
    }
}
