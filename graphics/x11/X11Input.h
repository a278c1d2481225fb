// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/MouseMods.h"

/// Translation of X input into the editor's terms. Pure functions. [any]
namespace X11Input {

/// The editor key code of an X keysym: space 0, up 1, down 2, left 3,
/// right 4, "0".."9" 5..14, letters "A".."Z" (either case) 15..40; −1 for
/// any other key.
int KeyCodeForKeysym(unsigned long keysym) noexcept;

/// Wheel steps of a button press: button 4 one step away from the user
/// (+1), button 5 one step toward (−1), others 0.
int WheelStepsForButton(unsigned int button) noexcept;

/// Modifiers of a pointer event from its X `state` (taken before the event):
/// `button` (1 left, 3 right; 0 for motion) is added on a press and removed
/// on a release, so the mods show the buttons held after the event. Alt is
/// Mod1.
MouseMods ModsFromState(unsigned int state, unsigned int button, bool press) noexcept;

} // namespace X11Input
