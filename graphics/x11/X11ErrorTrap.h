// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <X11/Xlib.h>

/// Catches the X protocol errors of the requests made while it lives, so a
/// bad window id from a host (or a window the host already destroyed) fails
/// the request instead of ending the host through Xlib's default handler.
/// Traps do not nest. [ui]
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    /// Waits for the server to answer every request so far; true when any
    /// of them failed since the trap was set.
    bool Failed();

private:
    Display* mDisplay;
    XErrorHandler mPrevious;
};
