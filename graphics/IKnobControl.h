// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IControl.h"

/// The base of knobs: the drag direction and how many pixels a full turn
/// takes. Abstract (no drawing). [ui]
class IKnobControl : public IControl {
public:
    enum Direction : int { kVertical = 0, kHorizontal = 1 };

    /// `gearing` divides the drag: a full sweep takes gearing × the knob's
    /// height (vertical) or width (horizontal) in pixels.
    IKnobControl(IEffectBase* plug, const PixelRect& rect, int paramIdx, int direction,
                 double gearing, int blendMethod = BlendSpec::kBlendNone);

    int Direction() const noexcept { return mDirection; }
    double Gearing() const noexcept { return mGearing; }

protected:
    int mDirection = kVertical;
    double mGearing = 4.0;
};
