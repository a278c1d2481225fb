// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Only the portable path's file includes this; see OversamplingKernel.h.

#include "effect/Waveshaper.h"

namespace {

/// Four double lanes in plain scalar code, for processors without the
/// vector paths (and as their yardstick). [audio] Value type.
class F64x4Portable {
public:
    struct Mask {
        bool kept[4];
    };

    F64x4Portable() noexcept = default;
    explicit F64x4Portable(double v) noexcept : mV{v, v, v, v} {}
    static F64x4Portable load(const double* p) noexcept { return F64x4Portable(p[0], p[1], p[2], p[3]); }
    void store(double* p) const noexcept
    {
        for (int i = 0; i < 4; ++i)
            p[i] = mV[i];
    }
    static F64x4Portable halves(const double* low, const double* high) noexcept
    {
        return F64x4Portable(low[0], low[1], high[0], high[1]);
    }
    void storeHalves(double* low, double* high) const noexcept
    {
        low[0] = mV[0];
        low[1] = mV[1];
        high[0] = mV[2];
        high[1] = mV[3];
    }

    /// Lanes (a0, b0, a2, b2) and (a1, b1, a3, b3), as on the AVX path.
    static F64x4Portable evens(F64x4Portable a, F64x4Portable b) noexcept
    {
        return F64x4Portable(a.mV[0], b.mV[0], a.mV[2], b.mV[2]);
    }
    static F64x4Portable odds(F64x4Portable a, F64x4Portable b) noexcept
    {
        return F64x4Portable(a.mV[1], b.mV[1], a.mV[3], b.mV[3]);
    }

    friend F64x4Portable operator+(F64x4Portable a, F64x4Portable b) noexcept
    {
        return F64x4Portable(a.mV[0] + b.mV[0], a.mV[1] + b.mV[1], a.mV[2] + b.mV[2], a.mV[3] + b.mV[3]);
    }
    friend F64x4Portable operator*(F64x4Portable a, F64x4Portable b) noexcept
    {
        return F64x4Portable(a.mV[0] * b.mV[0], a.mV[1] * b.mV[1], a.mV[2] * b.mV[2], a.mV[3] * b.mV[3]);
    }

    friend F64x4Portable operator-(F64x4Portable a, F64x4Portable b) noexcept
    {
        return F64x4Portable(a.mV[0] - b.mV[0], a.mV[1] - b.mV[1], a.mV[2] - b.mV[2], a.mV[3] - b.mV[3]);
    }
    friend F64x4Portable operator-(F64x4Portable a) noexcept
    {
        return F64x4Portable(-a.mV[0], -a.mV[1], -a.mV[2], -a.mV[3]);
    }

    static Mask allKept() noexcept { return {{true, true, true, true}}; }
    static F64x4Portable keep(F64x4Portable v, Mask m) noexcept
    {
        return F64x4Portable(m.kept[0] ? v.mV[0] : 0.0, m.kept[1] ? v.mV[1] : 0.0, m.kept[2] ? v.mV[2] : 0.0,
                             m.kept[3] ? v.mV[3] : 0.0);
    }
    Mask flushMask(F64x4Portable tiny) const noexcept
    {
        Mask m{};
        for (int i = 0; i < 4; ++i) {
            const double magnitude = mV[i] < 0.0 ? -mV[i] : mV[i];
            m.kept[i] = magnitude >= tiny.mV[0];
        }
        return m;
    }

    F64x4Portable shape(int factor) const noexcept
    {
        return F64x4Portable(Waveshaper::shapeLane(factor * mV[0]), Waveshaper::shapeLane(factor * mV[1]),
                             Waveshaper::shapeLane(factor * mV[2]), Waveshaper::shapeLane(factor * mV[3]));
    }

private:
    F64x4Portable(double a, double b, double c, double d) noexcept : mV{a, b, c, d} {}
    double mV[4] = {};
};

} // namespace
