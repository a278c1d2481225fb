// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/X11ErrorTrap.h"

namespace {
// The handler has no context argument; traps run on the [ui] thread only.
bool gTrapped = false;

int RecordError(Display*, XErrorEvent*)
{
    gTrapped = true;
    return 0;
}
} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : mDisplay(display)
{
    XSync(mDisplay, False);
    gTrapped = false;
    mPrevious = XSetErrorHandler(RecordError);
}

X11ErrorTrap::~X11ErrorTrap()
{
    XSync(mDisplay, False);
    XSetErrorHandler(mPrevious);
}

bool X11ErrorTrap::Failed()
{
    XSync(mDisplay, False);
    return gTrapped;
}
