// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ModulePath.h"

namespace {
#ifdef _WIN32
constexpr const char* kPathSeparators = "\\/";
#else
constexpr const char* kPathSeparators = "/";
#endif
}  // namespace

std::string ModuleDirectory()
{
    const std::string file = ModuleFileName();
    const auto separator = file.find_last_of(kPathSeparators);
    return separator == std::string::npos ? std::string() : file.substr(0, separator + 1);
}
