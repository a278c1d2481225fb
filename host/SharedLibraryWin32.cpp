// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/SharedLibrary.h"
#include "platform/win32/Utf16.h"

#include <windows.h>

#include <algorithm>

namespace {

/// The system's text for an error code, on one line.
std::string SystemMessage(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD units = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = units ? std::wstring(text, units) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    std::replace(message.begin(), message.end(), L'\n', L' ');
    std::replace(message.begin(), message.end(), L'\r', L' ');
    return message.empty() ? "error " + std::to_string(code) : Utf16ToUtf8(message);
}

/// The path as the loader wants it: UTF-16 with backslashes.
std::wstring LoaderPath(const std::string& path)
{
    std::wstring wide = Utf8ToUtf16(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

} // namespace

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& path, std::string& error)
{
    // A missing DLL should fail here, not as a message box the user must dismiss.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    HMODULE handle = LoadLibraryW(LoaderPath(path).c_str());
    const DWORD code = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    if (handle == nullptr) {
        error = "cannot load plug-in " + path + ": " + SystemMessage(code);
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

std::unique_ptr<SharedLibrary> SharedLibrary::FindLoaded(const std::string& path)
{
    // Without the "unchanged reference count" flag this is a hold of its own,
    // which the destructor's FreeLibrary gives back.
    HMODULE handle = nullptr;
    if (!GetModuleHandleExW(0, LoaderPath(path).c_str(), &handle)) return nullptr;
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary()
{
    FreeLibrary(static_cast<HMODULE>(mHandle));
}

void* SharedLibrary::Symbol(const char* name) const
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(mHandle), name));
}
