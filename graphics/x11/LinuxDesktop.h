// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/ArgbColor.h"

#include <string>

/// The desktop services of the editor on Linux: the browser through
/// `xdg-open`, dialogs through `zenity` when it is installed (without it,
/// every dialog answers "cancelled"), folders from /proc, the module and the
/// XDG settings. No shell is ever involved. Dialogs are modal: they block
/// the calling thread until answered. [ui]
namespace LinuxDesktop {

/// Program names looked up on PATH.
constexpr char kBrowserLauncher[] = "xdg-open";
constexpr char kDialogProgram[] = "zenity";

/// Shows a message (MessageBox type) and returns the answer. Dialogs stay
/// above the X window `owner` (0: none).
int ShowMessage(const char* text, const char* caption, int type, unsigned long owner = 0);
/// Hands `url` to xdg-open as one argument; true when it started.
bool OpenUrl(const char* url);
/// True when a network interface other than loopback is up and running.
bool IsConnected();
/// Colour chooser; true with red, green and blue replaced on a choice.
bool ChooseColour(ArgbColor& colour, const char* prompt, unsigned long owner = 0);
/// File chooser (action 1 saves, else opens) starting in `folder` (the
/// desktop when empty): `path` becomes the chosen file or empty, `folder`
/// the chosen file's folder.
void ChooseFile(std::string& path, int action, std::string& folder, const char* extensions,
                unsigned long owner = 0);

std::string HostFolder();
std::string PluginFolder();
std::string DesktopFolder();
std::string AppDataFolder(bool system);

} // namespace LinuxDesktop
