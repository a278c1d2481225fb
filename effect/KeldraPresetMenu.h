// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IControl.h"

/// The KELDRA nameplate on the panel: a click opens the toolkit's popup menu
/// of the factory presets, the one matching the current settings checked.
/// Choosing one moves every knob as one edit the host records (a gesture on
/// each parameter around all the changes), and the panel follows. Unbound
/// and invisible: the plate belongs to the background. [ui]
class KeldraPresetMenu : public IControl {
public:
    KeldraPresetMenu(IEffectBase* plug, const PixelRect& rect);

    /// Any button opens the menu.
    void OnPress(int x, int y, const MouseMods& mods) override;
    bool Draw(IGraphics& graphics) override;

    /// The preset whose values the plug-in holds now (to the precision
    /// presets are compared in), or -1.
    int CurrentPreset() const;
    /// Moves every parameter to preset `index` as one recorded edit.
    void Apply(int index);
};
