// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/MouseMods.h"

#include <cstdint>

/// Translation of window-message input into the editor's terms. Pure
/// functions. [any]
namespace Win32Input {

/// The editor key code of a virtual key: space 0, up 1, down 2, left 3,
/// right 4, "0".."9" 5..14, "A".."Z" 15..40; −1 for any other key.
int KeyCodeForVirtualKey(uintptr_t virtualKey) noexcept;

/// Modifiers of a mouse message from its wParam key flags (MK_LBUTTON,
/// MK_RBUTTON, MK_SHIFT, MK_CONTROL) and whether Alt is down.
MouseMods ModsFromKeyFlags(uintptr_t wParam, bool altDown) noexcept;

/// Wheel delta of a WM_MOUSEWHEEL wParam: the signed high word (120 a
/// notch; high-resolution wheels and touchpads send less).
int WheelDelta(uintptr_t wParam) noexcept;

/// The signed low and high words of a mouse message's lParam.
int PointX(intptr_t lParam) noexcept;
int PointY(intptr_t lParam) noexcept;

} // namespace Win32Input
