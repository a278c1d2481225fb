// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DefaultBundle.h"

#include <sys/stat.h>

#ifdef _WIN32
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
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    return length > 0 && length < sizeof self ? std::string(self, length) : std::string();
#else
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    return length > 0 ? std::string(self, static_cast<size_t>(length)) : std::string();
#endif
}

bool Exists(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0;
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
        return "/usr/lib/vst3/KELDRA.vst3";
    const std::string folder = program.substr(0, program.find_last_of("/\\") + 1);
    for (const std::string& candidate : {installed, std::string(KELDRA_BUILD_BUNDLE)})
        if (Exists(folder + candidate))
            return folder + candidate;
    return folder + installed;
}
