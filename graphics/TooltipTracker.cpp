// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/TooltipTracker.h"

bool TooltipTracker::OnPointerMoved(int hoverIndex, int64_t nowMs) noexcept
{
    if (hoverIndex == mIndex) {
        // Still moving over the same control: the rest period starts again.
        if (mArmed) mArmedAt = nowMs;
        return false;
    }
    mIndex = hoverIndex;
    const bool hide = Hide();
    mArmed = hoverIndex >= 0;
    mArmedAt = nowMs;
    return hide;
}

bool TooltipTracker::HoverDue(int64_t nowMs) noexcept
{
    if (!mArmed || nowMs - mArmedAt < kHoverTimeMs) return false;
    mArmed = false;
    mShown = true;
    return true;
}

bool TooltipTracker::Hide() noexcept
{
    const bool wasShown = mShown;
    mShown = false;
    return wasShown;
}

void TooltipTracker::OnPointerLeft() noexcept
{
    // Coming back onto the same control must start a new rest.
    Hide();
    mIndex = -1;
    mArmed = false;
}

void TooltipTracker::Reset() noexcept
{
    mIndex = -1;
    mShown = false;
    mArmed = false;
    mArmedAt = 0;
}
