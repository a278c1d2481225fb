// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// What the plug-in base needs of an attached editor. The graphics context
/// implements it; the base owns the attached context and calls it under the
/// plug-in lock once attached (before that, only the attaching thread can
/// reach it).
class IEditorContext {
public:
    virtual ~IEditorContext() = default;

    /// [ui or audio, plug-in lock held once attached] Delivers a parameter value to every
    /// control bound to `paramIdx` (main binding, and the first aux binding of
    /// each control). A plain value is normalised first through the parameter.
    virtual void SetParameterFromPlugin(int paramIdx, double value, bool isNormalized) = 0;

    /// [ui] Creates the draw surface; called once by the base's
    /// AttachEditor after the first values were delivered, before the
    /// context is attached (so without the lock: it allocates).
    virtual void PrepareDrawSurface() = 0;
};
