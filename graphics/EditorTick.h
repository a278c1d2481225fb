// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/PixelRect.h"
#include "graphics/TextEntrySession.h"

#include <string>

class IGraphics;

/// What one redraw tick of a window host decided.
struct EditorTickOutcome {
    bool closeEntryBox = false; ///< the entry was applied or discarded: destroy its box
    bool redraw = false;        ///< DrawArea(area) must run now
    PixelRect area;             ///< the dirty area, in editor pixels
};

/// [ui] The redraw tick, shared by every window host: first the plug-in's
/// OnEditorIdle, the parameter values that changed since the last tick
/// (FollowParamsInEditor), the wheel gesture's rest count and the value
/// readout's tick, then a pending text
/// entry is settled (see TextEntrySession); when none is, the dirty controls'
/// area is collected, and while a box is open the entry moves to "update".
/// `boxText` is the open box's current text.
EditorTickOutcome RunEditorTick(IGraphics& graphics, TextEntrySession& entry,
                                const std::string& boxText);

/// Timer period of `fps` redraws a second in whole milliseconds (40 at 25);
/// at least 1.
int EditorTickPeriodMs(int fps) noexcept;
