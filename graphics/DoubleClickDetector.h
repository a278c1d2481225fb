// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// Tells a second left-button press that completes a double click from a
/// new press: it must follow the previous single press within the
/// double-click time and land within a few pixels of it. The press after a
/// double click starts over. Times are milliseconds of one clock. [ui]
class DoubleClickDetector {
public:
    static constexpr int64_t kTimeMs = 500;
    /// Largest distance, per axis, between the two presses.
    static constexpr int kSlopPixels = 2;

    /// A left press at (x, y); true when it is the second press of a double click.
    bool OnLeftPress(int64_t timeMs, int x, int y) noexcept;
    /// Forgets the last press (another button went down, or the window closed).
    void Reset() noexcept { mPending = false; }

private:
    bool mPending = false;
    int64_t mTime = 0;
    int mX = 0;
    int mY = 0;
};
