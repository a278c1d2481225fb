// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IBitmapControl.h"

/// A multi-position switch drawn from a strip: every press (and every double
/// click) steps it to the next frame, wrapping from the last to the first. [ui]
class ISwitchControl : public IBitmapControl {
public:
    ISwitchControl(IEffectBase* plug, int x, int y, int paramIdx, const FrameStrip& strip,
                   int blendMethod = BlendSpec::kBlendNone);

    /// Any button steps the switch and writes the parameter.
    void OnPress(int x, int y, const MouseMods& mods) override;
    /// Steps once more, like a press.
    void OnDoubleClick(int x, int y, const MouseMods& mods) override;
};
