// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/ArtworkScale.h"

#include <cmath>

namespace ArtworkScale {

int For(double contentScale) noexcept
{
    if (!(contentScale > 1.0)) return 1;
    if (contentScale >= kLargest) return kLargest;
    return int(std::ceil(contentScale));
}

int ResourceId(int resourceId, int scale) noexcept { return resourceId + kIdStep * (scale - 1); }

} // namespace ArtworkScale
