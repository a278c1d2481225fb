// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/PixelRect.h"

class PIX_SysBitmap;

/// What a window host copies to show an area of the editor: `area` of
/// `surface`, enlarged by `stretch` (1 for a plain copy) at `area` times
/// `stretch` in the window. [ui]
struct PresentedImage {
    PIX_SysBitmap* surface = nullptr; ///< borrowed from the graphics context
    PixelRect area;                    ///< surface pixels
    double stretch = 1.0;
};
