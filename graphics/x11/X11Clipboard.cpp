// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/X11Clipboard.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <chrono>

namespace X11Clipboard {
namespace {

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

/// Waits for the SelectionNotify addressed to `requestor`; false on timeout.
bool WaitForAnswer(Display* display, Window requestor, XEvent& answer, int timeoutMs)
{
    const int64_t deadline = NowMs() + timeoutMs;
    for (;;) {
        if (XCheckTypedWindowEvent(display, requestor, SelectionNotify, &answer)) return true;
        const int64_t left = deadline - NowMs();
        if (left <= 0) return false;
        pollfd watch{ConnectionNumber(display), POLLIN, 0};
        poll(&watch, 1, int(left));
        if (watch.revents & (POLLERR | POLLHUP)) return false;
    }
}

} // namespace

bool ReadText(Display* display, Window requestor, std::string& text, int timeoutMs)
{
    text.clear();
    if (!display || !requestor) return false;
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom property = XInternAtom(display, "KELDRA_CLIPBOARD", False);
    if (XGetSelectionOwner(display, clipboard) == None) return false;

    XConvertSelection(display, clipboard, utf8, property, requestor, CurrentTime);
    XFlush(display);
    XEvent answer;
    if (!WaitForAnswer(display, requestor, answer, timeoutMs)) return false;
    if (answer.xselection.property == None) return false;

    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int rc = XGetWindowProperty(display, requestor, property, 0, 1L << 24, True,
                                      AnyPropertyType, &type, &format, &count, &remaining, &data);
    // A large text comes as INCR increments, which are not read here.
    bool ok = false;
    if (rc == Success && type == utf8 && format == 8) {
        text.assign(reinterpret_cast<const char*>(data), count);
        ok = true;
    }
    if (data) XFree(data);
    return ok;
}

} // namespace X11Clipboard
