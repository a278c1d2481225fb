// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/FrameStrip.h"
#include "graphics/IKnobControl.h"

/// A knob drawn from a strip of frames, turned by dragging (shift or control
/// for fine steps) and by the wheel. [ui]
class IKnobMultiControl : public IKnobControl {
public:
    /// Placed at (x, y), one frame of `strip` in size; blended source-over.
    IKnobMultiControl(IEffectBase* plug, int x, int y, int paramIdx, const FrameStrip& strip,
                      int direction = kVertical, double gearing = 4.0);

    /// Moving up (or right) raises the value; the result is clamped and written.
    void OnDrag(int x, int y, int dX, int dY, const MouseMods& mods) override;
    /// One notch is 1 % of the range, 0.1 % with shift or control.
    void OnWheelTurn(int x, int y, const MouseMods& mods, int steps) override;
    bool Draw(IGraphics& graphics) override;

    const FrameStrip& Strip() const noexcept { return mStrip; }

private:
    FrameStrip mStrip;
};
