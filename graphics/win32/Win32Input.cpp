// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/win32/Win32Input.h"

#include "graphics/EditorKey.h"

#include <windows.h>

namespace Win32Input {

int KeyCodeForVirtualKey(uintptr_t virtualKey) noexcept
{
    switch (virtualKey) {
    case VK_SPACE: return EditorKey::kSpace;
    case VK_UP: return EditorKey::kUp;
    case VK_DOWN: return EditorKey::kDown;
    case VK_LEFT: return EditorKey::kLeft;
    case VK_RIGHT: return EditorKey::kRight;
    default: break;
    }
    if (virtualKey >= '0' && virtualKey <= '9') return EditorKey::Digit(int(virtualKey - '0'));
    if (virtualKey >= 'A' && virtualKey <= 'Z') return EditorKey::Letter(int(virtualKey - 'A'));
    return EditorKey::kNone;
}

MouseMods ModsFromKeyFlags(uintptr_t wParam, bool altDown) noexcept
{
    MouseMods mods;
    mods.left = (wParam & MK_LBUTTON) != 0;
    mods.right = (wParam & MK_RBUTTON) != 0;
    mods.shift = (wParam & MK_SHIFT) != 0;
    mods.control = (wParam & MK_CONTROL) != 0;
    mods.alt = altDown;
    return mods;
}

int WheelDelta(uintptr_t wParam) noexcept
{
    return int(short(HIWORD(wParam)));
}

int PointX(intptr_t lParam) noexcept { return int(short(LOWORD(lParam))); }

int PointY(intptr_t lParam) noexcept { return int(short(HIWORD(lParam))); }

} // namespace Win32Input
