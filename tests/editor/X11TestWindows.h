// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor tests on a real X server share: the connection, the
// host's parent window, and reading back what a window shows.
#pragma once

#include <cstdint>
#include <vector>

// After every other header: Xlib defines short macro names (None, Bool, Status).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

/// Away from the screen's corner, where other test windows tend to sit.
constexpr int kParentX = 960;
constexpr int kParentY = 420;

/// One connection for the whole run: an X server that loses its last client
/// resets, and a test starting during the reset could not connect.
inline Display* SharedDisplay()
{
    static Display* const display = XOpenDisplay(nullptr);
    return display;
}

/// A mapped 300 x 570 host window at (kParentX, kParentY), placed where asked
/// with or without a window manager.
inline Window CreateParentWindow(Display* display)
{
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    const Window parent = XCreateWindow(display, DefaultRootWindow(display), kParentX, kParentY, 300, 570, 0,
                                        CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
    XMapRaised(display, parent);
    XSync(display, False);
    return parent;
}

/// The children of `window`.
inline std::vector<Window> ChildWindows(Display* display, Window window)
{
    Window root = 0, up = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> list;
    if (XQueryTree(display, window, &root, &up, &children, &count) != 0 && children != nullptr)
        list.assign(children, children + count);
    if (children != nullptr)
        XFree(children);
    return list;
}

/// The editor's window: the parent's only child, or 0.
inline Window OnlyChildWindow(Display* display, Window parent)
{
    const std::vector<Window> children = ChildWindows(display, parent);
    return children.size() == 1 ? children[0] : 0;
}

/// The window's pixels as 0xRRGGBB, row by row; empty if it cannot be read.
inline std::vector<std::uint32_t> WindowPixels(Display* display, Window window, int width, int height)
{
    std::vector<std::uint32_t> pixels;
    XImage* image = XGetImage(display, window, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
}
