// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster/PIX_SysBitmap.h"

#include <X11/Xlib.h>

class PIX_CachedFont;

/// A small window of the editor's own (text-entry box, tooltip, one level of
/// a popup menu) drawn with the raster library: the content is painted in
/// editor pixels into a canvas and shown scaled by the content scale.
/// Destroys its window. [ui]
class X11SmallWindow {
public:
    /// A window of `width` x `height` editor pixels at window position
    /// (x, y) in `parent`. `popup` windows bypass the window manager (for
    /// tooltips and menus, whose parent is the root window). `events` is the
    /// X event mask.
    X11SmallWindow(Display* display, Window parent, bool popup, int x, int y, int width, int height,
                   double scale, long events);
    ~X11SmallWindow();
    X11SmallWindow(const X11SmallWindow&) = delete;
    X11SmallWindow& operator=(const X11SmallWindow&) = delete;

    /// 0 when the window could not be made.
    Window Id() const noexcept { return mWindow; }
    /// Size in editor pixels.
    int Width() const noexcept { return mWidth; }
    int Height() const noexcept { return mHeight; }
    /// What to paint on; shown by Present.
    PIX_SysBitmap& Canvas() noexcept { return mCanvas; }

    /// Maps the window (popups are raised above everything).
    void Show();
    /// Copies the whole canvas to the window.
    void Present();

    /// Draws `text` in `colour` (0xAARRGGBB) with `font` into `box` of the
    /// canvas, vertically centred, aligned by the DT_ format bits in `align`.
    void DrawText(PIX_CachedFont* font, const char* text, uint32_t colour, int left, int top,
                  int right, int bottom, uint32_t align);

private:
    Display* mDisplay;
    Window mWindow = 0;
    GC mGc = nullptr;
    Visual* mVisual = nullptr;
    int mDepth = 0;
    int mWidth;
    int mHeight;
    double mScale;
    bool mPopup;
    PIX_SysBitmap mCanvas;
};
