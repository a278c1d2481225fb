// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Only the SSE2 path's file includes this; see OversamplingKernel.h.

#include "effect/F64x2.h"
#include "effect/Waveshaper.h"

namespace {

/// Four double lanes as two SSE2 registers. [audio] Value type.
class F64x4Sse2 {
public:
    struct Mask {
        __m128d low, high;
    };

    F64x4Sse2() noexcept = default;
    explicit F64x4Sse2(double v) noexcept : mLow(v), mHigh(v) {}
    static F64x4Sse2 load(const double* p) noexcept { return halves(p, p + 2); }
    void store(double* p) const noexcept { storeHalves(p, p + 2); }
    static F64x4Sse2 halves(const double* low, const double* high) noexcept
    {
        return F64x4Sse2(F64x2(_mm_load_pd(low)), F64x2(_mm_load_pd(high)));
    }
    void storeHalves(double* low, double* high) const noexcept
    {
        _mm_store_pd(low, mLow.raw());
        _mm_store_pd(high, mHigh.raw());
    }

    /// Lanes (a0, b0, a2, b2) and (a1, b1, a3, b3), as on the AVX path.
    static F64x4Sse2 evens(F64x4Sse2 a, F64x4Sse2 b) noexcept
    {
        return F64x4Sse2(F64x2(_mm_unpacklo_pd(a.mLow.raw(), b.mLow.raw())),
                         F64x2(_mm_unpacklo_pd(a.mHigh.raw(), b.mHigh.raw())));
    }
    static F64x4Sse2 odds(F64x4Sse2 a, F64x4Sse2 b) noexcept
    {
        return F64x4Sse2(F64x2(_mm_unpackhi_pd(a.mLow.raw(), b.mLow.raw())),
                         F64x2(_mm_unpackhi_pd(a.mHigh.raw(), b.mHigh.raw())));
    }

    friend F64x4Sse2 operator+(F64x4Sse2 a, F64x4Sse2 b) noexcept
    {
        return F64x4Sse2(a.mLow + b.mLow, a.mHigh + b.mHigh);
    }
    friend F64x4Sse2 operator-(F64x4Sse2 a, F64x4Sse2 b) noexcept
    {
        return F64x4Sse2(a.mLow - b.mLow, a.mHigh - b.mHigh);
    }
    friend F64x4Sse2 operator*(F64x4Sse2 a, F64x4Sse2 b) noexcept
    {
        return F64x4Sse2(a.mLow * b.mLow, a.mHigh * b.mHigh);
    }
    friend F64x4Sse2 operator-(F64x4Sse2 a) noexcept { return F64x4Sse2(-a.mLow, -a.mHigh); }

    static Mask allKept() noexcept
    {
        const __m128d ones = _mm_castsi128_pd(_mm_set1_epi64x(-1));
        return {ones, ones};
    }
    static F64x4Sse2 keep(F64x4Sse2 v, Mask m) noexcept
    {
        return F64x4Sse2(F64x2(_mm_and_pd(v.mLow.raw(), m.low)), F64x2(_mm_and_pd(v.mHigh.raw(), m.high)));
    }
    template <bool kFinite>
    Mask flushMask(F64x4Sse2 tiny) const noexcept
    {
        return {halfMask<kFinite>(mLow.raw(), tiny.mLow.raw()), halfMask<kFinite>(mHigh.raw(), tiny.mLow.raw())};
    }

    F64x4Sse2 shape(int factor) const noexcept
    {
        return F64x4Sse2(Waveshaper::shapeScaled(mLow, factor), Waveshaper::shapeScaled(mHigh, factor));
    }

private:
    F64x4Sse2(F64x2 low, F64x2 high) noexcept : mLow(low), mHigh(high) {}

    template <bool kFinite>
    static __m128d halfMask(__m128d v, __m128d tiny) noexcept
    {
        const __m128d magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), v);
        const __m128d big = _mm_cmpge_pd(magnitude, tiny);
        if (!kFinite)
            return big;
        return _mm_and_pd(big, _mm_cmple_pd(magnitude, _mm_set1_pd(1.7976931348623157e308)));
    }

    F64x2 mLow, mHigh;
};

} // namespace
