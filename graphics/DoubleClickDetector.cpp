// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/DoubleClickDetector.h"

#include <cstdlib>

bool DoubleClickDetector::OnLeftPress(int64_t timeMs, int x, int y) noexcept
{
    const int64_t elapsed = timeMs - mTime;
    const bool isDouble = mPending && elapsed >= 0 && elapsed <= kTimeMs
                          && std::abs(x - mX) <= kSlopPixels && std::abs(y - mY) <= kSlopPixels;
    // A double click consumes the pair: a third press is a new single press.
    mPending = !isDouble;
    mTime = timeMs;
    mX = x;
    mY = y;
    return isDouble;
}
