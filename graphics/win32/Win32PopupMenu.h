// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

class PopupMenu;
class PopupMenuNumbering;

/// Runs a popup menu tree as a native menu: command identifiers follow the
/// shared numbering, labels carry the menu's number prefix, item flags
/// become greyed, disabled and checked states. [ui]
namespace Win32PopupMenu {

/// A native popup menu (with its submenus) for `menu`; the caller destroys
/// it with DestroyMenu. Null when the system could not make one.
HMENU Build(const PopupMenu& menu, const PopupMenuNumbering& numbering);

/// Tracks `native` at screen point (x, y) for `owner` and takes the
/// resulting WM_COMMAND from the queue: the chosen identifier, or −1 when
/// the menu closed without a choice.
int Track(HMENU native, HWND owner, int x, int y);

} // namespace Win32PopupMenu
