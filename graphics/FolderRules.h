// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

/// How the editor's folders are derived from file names and the freedesktop
/// (XDG) settings. Pure rules: the environment and the user-dirs file are
/// passed in. Every folder returned ends in '/' or is empty. [any]
namespace FolderRules {

/// Looks up an environment variable; null when unset.
using EnvLookup = std::function<const char*(const char*)>;

/// The folder of `path` up to and including its last `separator`; empty
/// when it has none, or when the separator is its last character.
std::string FolderOfPath(const std::string& path, char separator = '/');

/// The user's desktop: XDG_DESKTOP_DIR from `userDirsText` (the contents of
/// user-dirs.dirs: a double-quoted value, "$HOME/..." or absolute), else
/// $HOME/Desktop; empty without a home.
std::string DesktopFolder(const EnvLookup& env, const std::string& userDirsText);

/// Where user-dirs.dirs lives: $XDG_CONFIG_HOME (absolute only) or
/// $HOME/.config; empty without either.
std::string UserDirsFile(const EnvLookup& env);

/// Application data: for `system` the first absolute folder of
/// $XDG_DATA_DIRS, else "/usr/local/share/"; for the user $XDG_DATA_HOME
/// (absolute only), else $HOME/.local/share/, empty without a home.
std::string AppDataFolder(const EnvLookup& env, bool system);

} // namespace FolderRules
