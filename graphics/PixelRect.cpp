// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/PixelRect.h"

#include <algorithm>

PixelRect PixelRect::Union(const PixelRect& other) const noexcept
{
    if (IsEmpty()) return other;
    if (other.IsEmpty()) return *this;
    return {std::min(L, other.L), std::min(T, other.T), std::max(R, other.R), std::max(B, other.B)};
}

bool PixelRect::Intersects(const PixelRect& other) const noexcept
{
    // The >= on this rectangle's right and bottom edges is deliberate: a control
    // whose left edge sits exactly on the redraw area's right edge is redrawn,
    // and the zero-width blit that follows draws nothing.
    return !IsEmpty() && !other.IsEmpty() && R >= other.L && L < other.R && B >= other.T
           && T < other.B;
}

PixelRect PixelRect::Intersection(const PixelRect& other) const noexcept
{
    if (!Intersects(other)) return {};
    return {std::max(L, other.L), std::max(T, other.T), std::min(R, other.R), std::min(B, other.B)};
}
