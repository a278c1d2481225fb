// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/BypassFade.h"

#include <algorithm>
#include <cmath>

BypassFade::Stage BypassFade::Begin(bool bypassed, double sampleRate) noexcept
{
    if (mSnap) {
        mLength = std::max(1L, std::lround(std::min(sampleRate, 1e9) * kSeconds));
        mAlong = bypassed ? mLength : 0;
        mSnap = false;
    }
    const long target = bypassed ? mLength : 0;
    if (mAlong == target) {
        mDirection = 0;
        return bypassed ? Stage::kInput : Stage::kEffect;
    }
    mDirection = bypassed ? 1 : -1;
    return Stage::kFading;
}

long BypassFade::FramesAlong(int frame) const noexcept
{
    return std::clamp(mAlong + mDirection * static_cast<long>(frame), 0L, mLength);
}

// Whole frames along the fade, so that its ends are exactly 0 and 1.
void BypassFade::Mix(const double* wet, const double* dry, double* out, int frames) const noexcept
{
    const double scale = 1.0 / static_cast<double>(mLength);
    for (int f = 0; f < frames; ++f) {
        const long along = FramesAlong(f);
        const double input = dry != nullptr ? dry[f] : 0.0;
        if (along >= mLength)
            out[f] = input;
        else if (along <= 0)
            out[f] = wet[f];
        else
            out[f] = wet[f] + (input - wet[f]) * (static_cast<double>(along) * scale);
    }
}

void BypassFade::Advance(int frames) noexcept
{
    mAlong = FramesAlong(frames);
}
