// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IGraphics.h"

class IEditorRunLoop;

/// A graphics context with a real window: what the editor view of a format
/// binding needs beyond IGraphics to host it. Layout, hit testing and drawing
/// stay in editor pixels; only the window and the presented image follow the
/// content scale. [ui]
class IPlatformGraphics : public IGraphics {
public:
    using IGraphics::IGraphics;

    /// The loop that delivers window events and the redraw tick; borrowed, may
    /// be null (then an opened window is painted once and not updated). Takes
    /// effect at the next OpenEditorWindow; set it before opening.
    virtual void SetRunLoop(IEditorRunLoop* loop) = 0;
    /// Window pixels per editor pixel (1, 1.5, 2 ...); values below 1 or not
    /// finite are taken as 1. The one call every format's editor makes for
    /// a host's scale: the window shows the panel composed at that scale
    /// (SetPanelScale), and an open window is resized and repainted.
    virtual void SetContentScale(double scale) = 0;
    virtual double ContentScale() const = 0;
    /// Window size in window pixels: the editor size times the content scale.
    virtual int WindowWidth() const = 0;
    virtual int WindowHeight() const = 0;
};
