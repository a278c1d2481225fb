// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/x11/X11SmallWindow.h"

#include "graphics/x11/X11ImageWriter.h"
#include "raster/PIX_CachedFont.h"
#include "raster/PIX_TextFormat.h"

#include <cmath>
#include <cstring>

X11SmallWindow::X11SmallWindow(Display* display, Window parent, bool popup, int x, int y,
                               int width, int height, double scale, long events)
    : mDisplay(display), mWidth(width > 0 ? width : 1), mHeight(height > 0 ? height : 1),
      mScale(scale), mPopup(popup)
{
    mCanvas.Resize(mWidth, mHeight);
    XSetWindowAttributes attributes{};
    attributes.event_mask = events;
    attributes.override_redirect = popup ? True : False;
    attributes.background_pixmap = None;
    const unsigned w = unsigned(std::ceil(mWidth * scale));
    const unsigned h = unsigned(std::ceil(mHeight * scale));
    mWindow = XCreateWindow(display, parent, x, y, w, h, 0, CopyFromParent, InputOutput,
                            CopyFromParent, CWEventMask | CWOverrideRedirect | CWBackPixmap,
                            &attributes);
    if (!mWindow) return;
    XWindowAttributes info{};
    XGetWindowAttributes(display, mWindow, &info);
    mVisual = info.visual;
    mDepth = info.depth;
    mGc = XCreateGC(display, mWindow, 0, nullptr);
}

X11SmallWindow::~X11SmallWindow()
{
    if (mGc) XFreeGC(mDisplay, mGc);
    if (mWindow) XDestroyWindow(mDisplay, mWindow);
    XFlush(mDisplay);
}

void X11SmallWindow::Show()
{
    if (!mWindow) return;
    if (mPopup)
        XMapRaised(mDisplay, mWindow);
    else
        XMapWindow(mDisplay, mWindow);
}

void X11SmallWindow::Present()
{
    if (!mWindow) return;
    X11ImageWriter(mDisplay, mVisual, mDepth)
        .Put(mWindow, mGc, mCanvas, {0, 0, mWidth, mHeight}, mScale);
    XFlush(mDisplay);
}

void X11SmallWindow::DrawText(PIX_CachedFont* font, const char* text, uint32_t colour, int left,
                              int top, int right, int bottom, uint32_t align)
{
    if (!font || !text || !*text) return;
    font->SetFontColor(colour);
    PIX_Rect box{left, top, right, bottom};
    font->DrawString(&mCanvas, text, int32_t(std::strlen(text)), box,
                     align | DT_VCENTER | DT_SINGLELINE);
}
