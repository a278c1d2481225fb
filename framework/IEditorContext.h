// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// What the plug-in base needs of an attached editor. The graphics context
/// implements it; the base owns the attached context (attached before
/// processing starts) and calls it on the user-interface thread only: the
/// audio thread never touches the editor, which finds changed values on its
/// own timer.
class IEditorContext {
public:
    virtual ~IEditorContext() = default;

    /// [ui] Delivers a parameter value to every
    /// control bound to `paramIdx` (main binding, and the first aux binding of
    /// each control). A plain value is normalised first through the parameter.
    virtual void SetParameterFromPlugin(int paramIdx, double value, bool isNormalized) = 0;

    /// [ui] Creates the draw surface; called once by the base's
    /// AttachEditor after the first values were delivered, before the
    /// context is attached (so without the lock: it allocates).
    virtual void PrepareDrawSurface() = 0;
};
