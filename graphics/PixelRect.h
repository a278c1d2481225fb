// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// An integer rectangle in editor pixels, origin top-left; right (R) and
/// bottom (B) are exclusive. [any]
///
/// "Empty" means all four edges are zero, not "no area": a rectangle with
/// R == L but non-zero edges still takes part in unions and intersections,
/// which is what the dirty-area and redraw logic expects.
struct PixelRect {
    int L = 0;
    int T = 0;
    int R = 0;
    int B = 0;

    constexpr PixelRect() noexcept = default;
    constexpr PixelRect(int l, int t, int r, int b) noexcept : L(l), T(t), R(r), B(b) {}

    constexpr int W() const noexcept { return R - L; }
    constexpr int H() const noexcept { return B - T; }

    /// True only when all four edges are zero.
    constexpr bool IsEmpty() const noexcept { return L == 0 && T == 0 && R == 0 && B == 0; }

    /// Not empty, and L <= x < R and T <= y < B.
    constexpr bool Contains(int x, int y) const noexcept
    {
        return !IsEmpty() && x >= L && x < R && y >= T && y < B;
    }

    /// The other rectangle if this one is empty (and vice versa), else the
    /// bounding box of both.
    PixelRect Union(const PixelRect& other) const noexcept;

    /// Both non-empty and overlapping, where the other's left or top edge lying
    /// exactly on this one's right or bottom edge counts as overlap.
    bool Intersects(const PixelRect& other) const noexcept;

    /// The common part when Intersects, else the empty rectangle.
    PixelRect Intersection(const PixelRect& other) const noexcept;

    constexpr bool operator==(const PixelRect& o) const noexcept
    {
        return L == o.L && T == o.T && R == o.R && B == o.B;
    }
    constexpr bool operator!=(const PixelRect& o) const noexcept { return !(*this == o); }
};
