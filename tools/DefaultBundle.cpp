// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DefaultBundle.h"

#include <climits>
#include <unistd.h>

std::string DefaultBundle()
{
    // Both paths are relative to the program's folder: no absolute path of
    // the build is kept, so an installed copy never loads a stray build's
    // bundle.
    const std::string installed = "../lib/vst3/KELDRA.vst3";
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return "/usr/lib/vst3/KELDRA.vst3";
    const std::string program(self, static_cast<size_t>(length));
    const std::string folder = program.substr(0, program.rfind('/') + 1);
    for (const std::string& candidate : {installed, std::string(KELDRA_BUILD_BUNDLE)})
        if (::access((folder + candidate).c_str(), F_OK) == 0)
            return folder + candidate;
    return folder + installed;
}
