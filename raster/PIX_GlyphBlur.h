// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class PIX_IBitmap;

namespace pix {

/// [ui] Smooths the top-left width x height area of `surface` in place: each
/// pixel becomes 1/2 of itself plus 1/8 of each of its four neighbours, per
/// byte lane; at the border the missing neighbour's share goes to the
/// opposite one. Does nothing on areas narrower or lower than 2 pixels.
void BlurArea(PIX_IBitmap& surface, int32_t width, int32_t height);

}  // namespace pix
