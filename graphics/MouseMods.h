// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Buttons and modifier keys held during a mouse event. [any]
struct MouseMods {
    bool left = false;
    bool right = false;
    bool shift = false;
    bool control = false;
    bool alt = false;
};
