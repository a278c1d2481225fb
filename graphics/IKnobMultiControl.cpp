// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/IKnobMultiControl.h"

#include "graphics/IGraphics.h"

IKnobMultiControl::IKnobMultiControl(IEffectBase* plug, int x, int y, int paramIdx,
                                     const FrameStrip& strip, int direction, double gearing)
    : IKnobControl(plug, {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()}, paramIdx,
                   direction, gearing, BlendSpec::kBlendNone),
      mStrip(strip)
{
}

void IKnobMultiControl::OnDrag(int, int, int dX, int dY, const MouseMods& mods)
{
    double gearing = mGearing;
    if (mods.shift || mods.control) gearing *= 10.0;
    // T − B is negative, so moving up raises the value.
    const bool vertical = mDirection == kVertical;
    const int extent = vertical ? mRect.T - mRect.B : mRect.R - mRect.L;
    // A knob without size (its image was missing) cannot be turned by dragging.
    if (extent == 0) return;
    // Unbounded here: MarkDirty clamps.
    mValue += double(vertical ? dY : dX) / double(extent) / gearing;
    MarkDirty(true);
}

void IKnobMultiControl::OnWheelTurn(int, int, const MouseMods& mods, int steps)
{
    mValue += steps * (mods.shift || mods.control ? 0.001 : 0.01);
    MarkDirty(true);
}

bool IKnobMultiControl::Draw(IGraphics& graphics)
{
    return graphics.DrawFrameForValue(mStrip, mRect, mValue, &mBlend);
}
