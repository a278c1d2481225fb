// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DefaultBundle.h"

#include "tools/FileSystem.h"

#ifdef _WIN32
#include "platform/win32/Utf16.h"

#include <windows.h>
#else
#include <climits>
#include <unistd.h>
#endif

namespace {

// The running program's own path, or nothing.
std::string ProgramPath()
{
#ifdef _WIN32
    wchar_t self[32768];
    const DWORD length = GetModuleFileNameW(nullptr, self, sizeof self / sizeof self[0]);
    return length > 0 && length < sizeof self / sizeof self[0] ? Utf16ToUtf8(std::wstring(self, length))
                                                               : std::string();
#else
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    return length > 0 ? std::string(self, static_cast<size_t>(length)) : std::string();
#endif
}

// Where the installer puts the bundle: the folder every Windows host scans.
std::string SystemBundle()
{
#ifdef _WIN32
    wchar_t common[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"CommonProgramFiles", common, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return Utf16ToUtf8(std::wstring(common, length)) + "\\VST3\\KELDRA.vst3";
#endif
    return "/usr/lib/vst3/KELDRA.vst3";
}

} // namespace

std::string DefaultBundle()
{
    // Both paths are relative to the program's folder: no absolute path of
    // the build is kept, so an installed copy never loads a stray build's
    // bundle.
    const std::string installed = "../lib/vst3/KELDRA.vst3";
    const std::string program = ProgramPath();
    if (program.empty())
        return SystemBundle();
    const std::string folder = program.substr(0, program.find_last_of("/\\") + 1);
    // The portable zip keeps the bundle beside the program.
    for (const std::string& candidate : {installed, std::string("KELDRA.vst3"), std::string(KELDRA_BUILD_BUNDLE)})
        if (IsFolder(folder + candidate))
            return folder + candidate;
#ifdef _WIN32
    return SystemBundle();
#else
    return folder + installed;
#endif
}
