// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PIX_WineProbe.h"

namespace pix {

// Wine runs Windows programs: a Linux build never runs under it.
bool RunsUnderWine() noexcept
{
    return false;
}

}  // namespace pix
