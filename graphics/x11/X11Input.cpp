// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/X11Input.h"

#include "graphics/EditorKey.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace X11Input {

int KeyCodeForKeysym(unsigned long keysym) noexcept
{
    switch (keysym) {
    case XK_space: return EditorKey::kSpace;
    case XK_Up: case XK_KP_Up: return EditorKey::kUp;
    case XK_Down: case XK_KP_Down: return EditorKey::kDown;
    case XK_Left: case XK_KP_Left: return EditorKey::kLeft;
    case XK_Right: case XK_KP_Right: return EditorKey::kRight;
    default: break;
    }
    if (keysym >= XK_0 && keysym <= XK_9) return EditorKey::Digit(int(keysym - XK_0));
    if (keysym >= XK_A && keysym <= XK_Z) return EditorKey::Letter(int(keysym - XK_A));
    if (keysym >= XK_a && keysym <= XK_z) return EditorKey::Letter(int(keysym - XK_a));
    return EditorKey::kNone;
}

int WheelStepsForButton(unsigned int button) noexcept
{
    if (button == Button4) return 1;
    if (button == Button5) return -1;
    return 0;
}

MouseMods ModsFromState(unsigned int state, unsigned int button, bool press) noexcept
{
    unsigned int buttonMask = 0;
    if (button == Button1) buttonMask = Button1Mask;
    if (button == Button3) buttonMask = Button3Mask;
    if (press)
        state |= buttonMask;
    else
        state &= ~buttonMask;
    MouseMods mods;
    mods.left = (state & Button1Mask) != 0;
    mods.right = (state & Button3Mask) != 0;
    mods.shift = (state & ShiftMask) != 0;
    mods.control = (state & ControlMask) != 0;
    mods.alt = (state & Mod1Mask) != 0;
    return mods;
}

} // namespace X11Input
