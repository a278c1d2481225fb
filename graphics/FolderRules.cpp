// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/FolderRules.h"

#include <sstream>

namespace FolderRules {
namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

/// A variable that names a folder counts only when absolute, as the XDG
/// rules say; relative values are ignored.
std::string AbsoluteVariable(const EnvLookup& env, const char* name)
{
    const char* value = env(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

/// The value of `key` in user-dirs.dirs text, expanded; empty when absent.
std::string UserDir(const std::string& text, const std::string& key, const std::string& home)
{
    std::istringstream lines(text);
    std::string line;
    std::string found;
    const std::string prefix = key + "=\"";
    while (std::getline(lines, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, prefix.size(), prefix) != 0) continue;
        const size_t open = start + prefix.size();
        const size_t close = line.find('"', open);
        if (close == std::string::npos) continue;
        std::string value = line.substr(open, close - open);
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
            if (home.empty()) continue;
            value = home + value.substr(5);
        } else if (value.empty() || value[0] != '/') {
            continue;
        }
        found = value; // the last assignment wins, as in a shell
    }
    return found;
}

} // namespace

std::string FolderOfPath(const std::string& path, char separator)
{
    const size_t last = path.rfind(separator);
    if (last == std::string::npos || last + 1 == path.size()) return {};
    return path.substr(0, last + 1);
}

std::string DesktopFolder(const EnvLookup& env, const std::string& userDirsText)
{
    const std::string home = AbsoluteVariable(env, "HOME");
    const std::string configured = UserDir(userDirsText, "XDG_DESKTOP_DIR", home);
    if (!configured.empty()) return WithSlash(configured);
    return home.empty() ? std::string() : WithSlash(home) + "Desktop/";
}

std::string UserDirsFile(const EnvLookup& env)
{
    std::string config = AbsoluteVariable(env, "XDG_CONFIG_HOME");
    if (config.empty()) {
        const std::string home = AbsoluteVariable(env, "HOME");
        if (home.empty()) return {};
        config = WithSlash(home) + ".config";
    }
    return WithSlash(config) + "user-dirs.dirs";
}

std::string AppDataFolder(const EnvLookup& env, bool system)
{
    if (system) {
        const char* dirs = env("XDG_DATA_DIRS");
        std::istringstream list(dirs ? dirs : "");
        std::string entry;
        while (std::getline(list, entry, ':'))
            if (!entry.empty() && entry[0] == '/') return WithSlash(entry);
        return "/usr/local/share/";
    }
    const std::string data = AbsoluteVariable(env, "XDG_DATA_HOME");
    if (!data.empty()) return WithSlash(data);
    const std::string home = AbsoluteVariable(env, "HOME");
    return home.empty() ? std::string() : WithSlash(home) + ".local/share/";
}

} // namespace FolderRules
