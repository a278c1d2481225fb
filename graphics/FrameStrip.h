// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class PIX_IBitmap;

/// One loaded image seen as a strip of equally sized frames. [ui]
///
/// The image is borrowed: the process-wide image cache owns it for as long
/// as the module is loaded. A strip whose image could not be loaded has no
/// image and a zero size, and nothing is ever drawn from it.
struct FrameStrip {
    PIX_IBitmap* image = nullptr;
    int width = 0;  ///< whole image, pixels
    int height = 0; ///< whole image, pixels
    int frameCount = 1;
    /// false: frames stacked top to bottom (every strip of this program).
    bool horizontal = false;

    int FrameWidth() const noexcept;
    int FrameHeight() const noexcept;

    /// The 1-based frame shown for normalised value `value`: rounded half up
    /// over N frames and clamped to [1, N]; frame 1 for strips of one frame.
    int FrameForValue(double value) const noexcept;

    /// Source offset of 1-based `frame` along the strip (x for horizontal
    /// strips, y otherwise), rounded to the nearest pixel.
    int FrameOffset(int frame) const noexcept;
};
