// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Only the SSE2 and NEON paths' files include this; see OversamplingKernel.h.

#include "effect/F64x2.h"
#include "effect/Waveshaper.h"

namespace {

/// Four double lanes as two F64x2 registers (SSE2 on x86-64, NEON on
/// AArch64), lanes 0 and 1 in the low one. [audio] Value type.
class F64x4Pair {
public:
    struct Mask {
        F64x2::Mask low, high;
    };

    F64x4Pair() noexcept = default;
    explicit F64x4Pair(double v) noexcept : mLow(v), mHigh(v) {}
    static F64x4Pair load(const double* p) noexcept { return halves(p, p + 2); }
    void store(double* p) const noexcept { storeHalves(p, p + 2); }
    /// Both 16-byte aligned.
    static F64x4Pair halves(const double* low, const double* high) noexcept
    {
        return F64x4Pair(F64x2::load(low), F64x2::load(high));
    }
    void storeHalves(double* low, double* high) const noexcept
    {
        mLow.store(low);
        mHigh.store(high);
    }

    /// Lanes (a0, b0, a2, b2) and (a1, b1, a3, b3), as on the AVX path.
    static F64x4Pair evens(F64x4Pair a, F64x4Pair b) noexcept
    {
        return F64x4Pair(F64x2::lefts(a.mLow, b.mLow), F64x2::lefts(a.mHigh, b.mHigh));
    }
    static F64x4Pair odds(F64x4Pair a, F64x4Pair b) noexcept
    {
        return F64x4Pair(F64x2::rights(a.mLow, b.mLow), F64x2::rights(a.mHigh, b.mHigh));
    }

    friend F64x4Pair operator+(F64x4Pair a, F64x4Pair b) noexcept
    {
        return F64x4Pair(a.mLow + b.mLow, a.mHigh + b.mHigh);
    }
    friend F64x4Pair operator-(F64x4Pair a, F64x4Pair b) noexcept
    {
        return F64x4Pair(a.mLow - b.mLow, a.mHigh - b.mHigh);
    }
    friend F64x4Pair operator*(F64x4Pair a, F64x4Pair b) noexcept
    {
        return F64x4Pair(a.mLow * b.mLow, a.mHigh * b.mHigh);
    }
    friend F64x4Pair operator-(F64x4Pair a) noexcept { return F64x4Pair(-a.mLow, -a.mHigh); }

    static Mask allKept() noexcept { return {F64x2::allKept(), F64x2::allKept()}; }
    static F64x4Pair keep(F64x4Pair v, Mask m) noexcept
    {
        return F64x4Pair(F64x2::keep(v.mLow, m.low), F64x2::keep(v.mHigh, m.high));
    }
    /// `tiny` holds one value in every lane.
    Mask flushMask(F64x4Pair tiny) const noexcept
    {
        return {mLow.flushMask(tiny.mLow), mHigh.flushMask(tiny.mLow)};
    }

    F64x4Pair shape(int factor) const noexcept
    {
        return F64x4Pair(Waveshaper::shapeScaled(mLow, factor), Waveshaper::shapeScaled(mHigh, factor));
    }

private:
    F64x4Pair(F64x2 low, F64x2 high) noexcept : mLow(low), mHigh(high) {}

    F64x2 mLow, mHigh;
};

} // namespace
