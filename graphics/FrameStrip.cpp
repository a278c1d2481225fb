// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/FrameStrip.h"

#include <cmath>

int FrameStrip::FrameWidth() const noexcept
{
    return horizontal && frameCount > 0 ? width / frameCount : width;
}

int FrameStrip::FrameHeight() const noexcept
{
    return !horizontal && frameCount > 0 ? height / frameCount : height;
}

int FrameStrip::FrameForValue(double value) const noexcept
{
    if (frameCount <= 1) return 1;
    const double scaled = std::trunc((frameCount - 1) * value + 0.5);
    // Compare in double first: a huge or NaN value must not overflow the int.
    if (!(scaled >= 0.0)) return 1;
    if (scaled >= frameCount - 1) return frameCount;
    return int(scaled) + 1;
}

int FrameStrip::FrameOffset(int frame) const noexcept
{
    if (frameCount <= 1 || frame <= 1) return 0;
    const double length = horizontal ? width : height;
    return int(std::trunc(length * (frame - 1) / frameCount + 0.5));
}
