// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/ArgbColor.h"

class PIX_CachedFont;

/// How text is drawn and how the value text entry looks. [ui]
struct TextStyle {
    enum Style : int { kStyleNormal = 0, kStyleBold = 1, kStyleItalic = 2 };
    enum Align : int { kAlignNear = 0, kAlignCenter = 1, kAlignFar = 2 };
    enum Quality : int {
        kQualityDefault = 0,
        kQualityNonAntialiased = 1,
        kQualityAntialiased = 2,
        kQualityClearType = 3
    };

    char face[32] = "Verdana";
    int size = 12; ///< pixels
    ArgbColor color{255, 0, 0, 0};
    ArgbColor entryBackground{255, 255, 255, 255};
    ArgbColor entryForeground{255, 0, 0, 0};
    int style = kStyleNormal;
    int align = kAlignCenter;
    int orientation = 0; ///< degrees
    int quality = kQualityDefault;
    /// Borrowed from the process-wide font cache; filled on first use.
    PIX_CachedFont* font = nullptr;
};
