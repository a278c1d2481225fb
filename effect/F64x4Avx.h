// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Only the AVX path's file includes this, compiled for AVX; see
// OversamplingKernel.h for why it lives in an unnamed namespace.

#include "effect/Waveshaper.h"

#include <immintrin.h>

namespace {

/// Four double lanes in one 256-bit register. Every operation is the plain
/// IEEE operation per lane, as in F64x2. [audio] Value type.
class F64x4Avx {
public:
    using Mask = __m256d;

    F64x4Avx() noexcept : mV(_mm256_setzero_pd()) {}
    explicit F64x4Avx(double v) noexcept : mV(_mm256_set1_pd(v)) {}
    /// 32-byte aligned.
    static F64x4Avx load(const double* p) noexcept { return F64x4Avx(_mm256_load_pd(p)); }
    void store(double* p) const noexcept { _mm256_store_pd(p, mV); }
    /// Lanes 0, 1 from `low` and 2, 3 from `high`, both 16-byte aligned.
    static F64x4Avx halves(const double* low, const double* high) noexcept
    {
        return F64x4Avx(_mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_load_pd(low)), _mm_load_pd(high), 1));
    }
    void storeHalves(double* low, double* high) const noexcept
    {
        _mm_store_pd(low, _mm256_castpd256_pd128(mV));
        _mm_store_pd(high, _mm256_extractf128_pd(mV, 1));
    }

    /// Lanes (a0, b0, a2, b2) and (a1, b1, a3, b3): the first and the second
    /// lane of each half, paired across a and b.
    static F64x4Avx evens(F64x4Avx a, F64x4Avx b) noexcept { return F64x4Avx(_mm256_unpacklo_pd(a.mV, b.mV)); }
    static F64x4Avx odds(F64x4Avx a, F64x4Avx b) noexcept { return F64x4Avx(_mm256_unpackhi_pd(a.mV, b.mV)); }

    friend F64x4Avx operator+(F64x4Avx a, F64x4Avx b) noexcept { return F64x4Avx(_mm256_add_pd(a.mV, b.mV)); }
    friend F64x4Avx operator-(F64x4Avx a, F64x4Avx b) noexcept { return F64x4Avx(_mm256_sub_pd(a.mV, b.mV)); }
    friend F64x4Avx operator*(F64x4Avx a, F64x4Avx b) noexcept { return F64x4Avx(_mm256_mul_pd(a.mV, b.mV)); }
    friend F64x4Avx operator-(F64x4Avx a) noexcept { return F64x4Avx(_mm256_xor_pd(a.mV, _mm256_set1_pd(-0.0))); }

    static Mask allKept() noexcept { return _mm256_castsi256_pd(_mm256_set1_epi64x(-1)); }
    /// Lanes where the mask is clear become +0.0.
    static F64x4Avx keep(F64x4Avx v, Mask m) noexcept { return F64x4Avx(_mm256_and_pd(v.mV, m)); }
    /// Lanes that are at least `tiny` in magnitude (NaN never).
    Mask flushMask(F64x4Avx tiny) const noexcept
    {
        return _mm256_cmp_pd(_mm256_andnot_pd(_mm256_set1_pd(-0.0), mV), tiny.mV, _CMP_GE_OQ);
    }

    /// The waveshaper on factor·v in every lane, as Waveshaper::shapeScaled
    /// computes it on two.
    F64x4Avx shape(int factor) const noexcept
    {
        using namespace waveshaper_detail;
        const __m256d sign = _mm256_set1_pd(-0.0);
        const __m256d scale = _mm256_set1_pd(factor * static_cast<double>(WaveshaperTable::kScale));
        const __m256d t = _mm256_mul_pd(_mm256_andnot_pd(sign, mV), scale);
        const __m256d convertible = _mm256_cmp_pd(t, _mm256_set1_pd(2147483648.0), _CMP_LT_OS);
        const __m256d clamped = _mm256_min_pd(t, _mm256_set1_pd(kLast));
        const __m128i index = _mm256_cvttpd_epi32(clamped);
        const __m256d fraction = _mm256_sub_pd(clamped, _mm256_cvtepi32_pd(index));

        const __m128i twice = _mm_add_epi32(index, index);
        const long long low = _mm_cvtsi128_si64(twice);
        const long long high = _mm_extract_epi64(twice, 1);
        const double* table = kTable.values;
        const __m256d n02 = _mm256_insertf128_pd(
            _mm256_castpd128_pd256(_mm_load_pd(table + static_cast<unsigned>(low))),
            _mm_load_pd(table + static_cast<unsigned>(high)), 1);
        const __m256d n13 = _mm256_insertf128_pd(
            _mm256_castpd128_pd256(_mm_load_pd(table + (static_cast<unsigned long long>(low) >> 32))),
            _mm_load_pd(table + (static_cast<unsigned long long>(high) >> 32)), 1);
        const __m256d lower = _mm256_unpacklo_pd(n02, n13);
        const __m256d upper = _mm256_unpackhi_pd(n02, n13);

        const __m256d r = _mm256_add_pd(_mm256_mul_pd(lower, _mm256_sub_pd(_mm256_set1_pd(1.0), fraction)),
                                        _mm256_mul_pd(upper, fraction));
        return F64x4Avx(_mm256_or_pd(_mm256_and_pd(r, convertible), _mm256_and_pd(sign, mV)));
    }

private:
    explicit F64x4Avx(__m256d v) noexcept : mV(v) {}
    __m256d mV;
};

} // namespace
