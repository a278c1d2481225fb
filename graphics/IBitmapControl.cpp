// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/IBitmapControl.h"

#include "graphics/IGraphics.h"

IBitmapControl::IBitmapControl(IEffectBase* plug, int x, int y, int paramIdx,
                               const FrameStrip& strip, int blendMethod)
    : IControl(plug, {x, y, x + strip.FrameWidth(), y + strip.FrameHeight()}, paramIdx, blendMethod),
      mStrip(strip)
{
}

bool IBitmapControl::Draw(IGraphics& graphics)
{
    return graphics.DrawFrameForValue(mStrip, mRect, mValue, &mBlend);
}
