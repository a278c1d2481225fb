// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/ArgbColor.h"

#include <windows.h>

#include <string>

/// The shell services of the editor on Windows: messages, the browser,
/// colour and file choosers, system folders and the clipboard. Stateless
/// wrappers; the window host passes the owner window and keeps what must
/// persist (the custom colours). Dialogs are modal. [ui]
namespace WindowsDesktop {

/// MessageBoxA owned by `owner`; its result.
int ShowMessage(HWND owner, const char* text, const char* caption, int type);
/// Whether InternetGetConnectedState reports a connection.
bool IsConnected();
/// ShellExecuteA "open" of `url` owned by `owner`; true when the shell
/// accepted it (a result above 32).
bool OpenUrl(HWND owner, const char* url);

/// Folder of the process's executable (or of `module`), up to and
/// including its last backslash; empty when there is none or it is the
/// last character.
std::string ExecutableFolder(HMODULE module);
/// The desktop, as the shell names it (not created when missing).
std::string DesktopFolder();
/// Common (`system`) or local application data.
std::string AppDataFolder(bool system);

/// ChooseColorA owned by `owner`, starting from `colour`'s red, green and
/// blue, with the 16 `customColours`; `prompt` (may be null) becomes the
/// dialog's title. True with red, green, blue replaced (alpha kept) on OK.
bool ChooseColour(HWND owner, ArgbColor& colour, const char* prompt, COLORREF* customColours);

/// Open (any `action` but 1) or save (1) chooser owned by `owner`, listing
/// `extensions` (space-separated) and starting in `folder` (`fallback` when
/// empty): `path` becomes the chosen file or empty; on a choice `folder`
/// becomes its drive and directory.
void ChooseFile(HWND owner, std::string& path, int action, std::string& folder,
                const char* extensions, const std::string& fallback);

/// The clipboard's Unicode text as UTF-8; false and empty when there is
/// none or the clipboard cannot be opened.
bool ReadClipboardText(HWND owner, std::string& text);

} // namespace WindowsDesktop
