// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor tests on a real X server share: the connection, the
// host's parent window, and reading back what a window shows.
#pragma once

#include <algorithm>
#include <cmath>
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

/// Index of the first pixel of `window` (whose top-left corner is at
/// (`screenX`, `screenY`) on the screen) that differs from `panel`, the whole
/// 300 x 570 panel drawn at `scale`, over the part the screen shows; -1 when
/// none does, 0 when the window cannot be read.
inline long FirstDifferenceOnScreen(Display* display, Window window, int screenX, int screenY,
                                    const std::vector<std::uint32_t>& panel, double scale)
{
    const int fullWidth = static_cast<int>(std::ceil(300 * scale));
    const int screen = DefaultScreen(display);
    const int width = std::min(fullWidth, DisplayWidth(display, screen) - screenX);
    const int height = std::min(static_cast<int>(std::ceil(570 * scale)), DisplayHeight(display, screen) - screenY);
    const std::vector<std::uint32_t> shown = WindowPixels(display, window, width, height);
    if (width <= 0 || height <= 0 || shown.size() != std::size_t(width) * std::size_t(height)
        || panel.size() != std::size_t(fullWidth) * std::size_t(std::ceil(570 * scale)))
        return 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (shown[std::size_t(y) * std::size_t(width) + std::size_t(x)]
                != panel[std::size_t(y) * std::size_t(fullWidth) + std::size_t(x)])
                return long(y) * width + x;
    return -1;
}
