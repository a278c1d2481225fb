// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/ISwitchControl.h"

ISwitchControl::ISwitchControl(IEffectBase* plug, int x, int y, int paramIdx,
                               const FrameStrip& strip, int blendMethod)
    : IBitmapControl(plug, x, y, paramIdx, strip, blendMethod)
{
}

void ISwitchControl::OnPress(int, int, const MouseMods&)
{
    const int n = mStrip.frameCount;
    mValue += n < 2 ? 1.0 : 1.0 / (n - 1);
    // The tolerance absorbs the rounding of repeated 1/(N−1) steps, so the
    // last position is reached before wrapping.
    if (mValue > 1.001) mValue = 0.0;
    MarkDirty(true);
}

void ISwitchControl::OnDoubleClick(int x, int y, const MouseMods& mods) { OnPress(x, y, mods); }
