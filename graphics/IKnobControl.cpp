// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/IKnobControl.h"

IKnobControl::IKnobControl(IEffectBase* plug, const PixelRect& rect, int paramIdx, int direction,
                           double gearing, int blendMethod)
    : IControl(plug, rect, paramIdx, blendMethod), mDirection(direction), mGearing(gearing)
{
}
