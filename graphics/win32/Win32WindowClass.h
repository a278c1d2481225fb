// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

/// The editor's window class "IEditorWndClass", registered while at least
/// one editor window of the process holds it: the first Acquire registers
/// it, the last Release unregisters it. The count is process-wide and
/// touched only on the user-interface thread. [ui]
namespace Win32WindowClass {

constexpr char kName[] = "IEditorWndClass";

/// Counts one more holder, registering the class (double clicks, arrow
/// cursor, no background brush) with `procedure` for `instance` when it is
/// the first. False (nothing counted) when registration failed.
bool Acquire(HINSTANCE instance, WNDPROC procedure);
/// Counts one holder less; the last one unregisters the class.
void Release(HINSTANCE instance);

} // namespace Win32WindowClass
