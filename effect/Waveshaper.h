// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/F64x2.h"
#include "effect/WaveshaperTable.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace waveshaper_detail {

constexpr int kLast = WaveshaperTable::kEntries - 1;

// The table for negative inputs is the exact negation of the positive one and
// the result takes the input's sign anyway, so one table serves both signs.
// Values 2j and 2j+1 are the neighbours {P[j], P[j+1]} promoted to double, so
// a lookup is one aligned load; the last pair repeats P[199] as its own
// neighbour.
struct NeighbourTable {
    alignas(16) double values[2 * WaveshaperTable::kEntries];
};

constexpr NeighbourTable makeTable() noexcept
{
    NeighbourTable t{};
    for (int j = 0; j < WaveshaperTable::kEntries; ++j) {
        t.values[2 * j] = WaveshaperTable::kPositive[j];
        t.values[2 * j + 1] = WaveshaperTable::kPositive[j < kLast ? j + 1 : kLast];
    }
    return t;
}

inline constexpr NeighbourTable kTable = makeTable();

// An index outside 0 … 198 (the integer minimum of a failed conversion
// included) reads one end of the table with a fraction of 0, which gives
// exactly that end's value.
inline int clampIndex(int i) noexcept { return i < 0 ? 0 : (i > kLast ? kLast : i); }

} // namespace waveshaper_detail

/// The static, odd-symmetric saturation curve of the oversampled path, run on
/// both lanes. Close to 0.599·w for small inputs, clipping at ±0.833333313
/// from |w| ≈ 1.4. A NaN, and a magnitude too large for a 32-bit table index
/// (about 1.5e7 and up), give a zero of the input's sign.
class Waveshaper {
public:
    /// [audio] Shapes one value per lane. Inline: it runs 2·N times per
    /// stereo sample.
    static F64x2 shape(F64x2 w) noexcept { return shapeScaled(w, 1); }

    /// [audio] shape(factor·v) for a power-of-two factor, with the factor
    /// folded into the table scale: factor·v and factor·scale are exact, so
    /// |v|·(factor·scale) rounds the same product |factor·v|·scale does.
    static F64x2 shapeScaled(F64x2 v, int factor) noexcept;

    /// [audio] The shaper on one value in plain scalar code.
    static double shapeLane(double w) noexcept
    {
        using namespace waveshaper_detail;
        const double magnitude = w < 0.0 ? -w : (w == 0.0 ? 0.0 : w);
        const double t = magnitude * static_cast<double>(WaveshaperTable::kScale);
        const int i = (t >= 0.0 && t < 2147483648.0) ? static_cast<int>(t) : INT_MIN;
        const double fraction = (i >= 0 && i < kLast) ? t - i : 0.0;
        const double* n = kTable.values + 2 * clampIndex(i);
        const double r = n[0] * (1.0 - fraction) + n[1] * fraction;
        std::uint64_t bits, signBits;
        std::memcpy(&bits, &r, sizeof bits);
        std::memcpy(&signBits, &w, sizeof signBits);
        bits |= signBits & 0x8000000000000000ull;
        double out;
        std::memcpy(&out, &bits, sizeof out);
        return out;
    }
};

#ifdef KELDRA_F64X2_SSE2

inline F64x2 Waveshaper::shapeScaled(F64x2 w, int factor) noexcept
{
    using namespace waveshaper_detail;
    const __m128d sign = _mm_set1_pd(-0.0);
    const __m128d scale = _mm_set1_pd(factor * static_cast<double>(WaveshaperTable::kScale));
    const __m128d t = _mm_mul_pd(_mm_andnot_pd(sign, w.raw()), scale);
    // A position that a 32-bit index cannot hold (NaN included) reads as the
    // integer minimum, below the table, and gives zero; from entry 199 on the
    // last entry holds. MINPD returns its second operand for a NaN, so the
    // clamped position is always a number in 0 … 199, and the fraction is 0
    // from entry 199 on.
    const __m128d convertible = _mm_cmplt_pd(t, _mm_set1_pd(2147483648.0));
    const __m128d clamped = _mm_min_pd(t, _mm_set1_pd(kLast));
    const __m128i index = _mm_cvttpd_epi32(clamped);
    const __m128d fraction = _mm_sub_pd(clamped, _mm_cvtepi32_pd(index));

    // Twice each index, both in one 64-bit move: the pairs' offsets.
    const unsigned long long both = static_cast<unsigned long long>(_mm_cvtsi128_si64(_mm_add_epi32(index, index)));
    const __m128d n0 = _mm_load_pd(kTable.values + static_cast<unsigned>(both));
    const __m128d n1 = _mm_load_pd(kTable.values + (both >> 32));
    const __m128d lower = _mm_unpacklo_pd(n0, n1);
    const __m128d upper = _mm_unpackhi_pd(n0, n1);

    const __m128d r = _mm_add_pd(_mm_mul_pd(lower, _mm_sub_pd(_mm_set1_pd(1.0), fraction)),
                                 _mm_mul_pd(upper, fraction));
    // r is never negative, so setting the sign bit copies the input's sign.
    return F64x2(_mm_or_pd(_mm_and_pd(r, convertible), _mm_and_pd(sign, w.raw())));
}

#elif defined(KELDRA_F64X2_NEON)

inline F64x2 Waveshaper::shapeScaled(F64x2 w, int factor) noexcept
{
    using namespace waveshaper_detail;
    const float64x2_t scale = vdupq_n_f64(factor * static_cast<double>(WaveshaperTable::kScale));
    const float64x2_t t = vmulq_f64(vabsq_f64(w.raw()), scale);
    // As on SSE2: a position no 32-bit index holds (NaN included) gives zero.
    // FMINNM returns the number when the other operand is a quiet NaN (t is
    // a product, never a signalling one), as MINPD does, so the clamped
    // position is always a number in 0 … 199.
    const uint64x2_t convertible = vcltq_f64(t, vdupq_n_f64(2147483648.0));
    const float64x2_t clamped = vminnmq_f64(t, vdupq_n_f64(kLast));
    const int64x2_t index = vcvtq_s64_f64(clamped);
    const float64x2_t fraction = vsubq_f64(clamped, vcvtq_f64_s64(index));

    const float64x2_t n0 = vld1q_f64(kTable.values + 2 * vgetq_lane_s64(index, 0));
    const float64x2_t n1 = vld1q_f64(kTable.values + 2 * vgetq_lane_s64(index, 1));
    const float64x2_t lower = vzip1q_f64(n0, n1);
    const float64x2_t upper = vzip2q_f64(n0, n1);

    const float64x2_t r =
        vaddq_f64(vmulq_f64(lower, vsubq_f64(vdupq_n_f64(1.0), fraction)), vmulq_f64(upper, fraction));
    // r is never negative, so setting the sign bit copies the input's sign.
    const uint64x2_t sign = vdupq_n_u64(0x8000000000000000ull);
    return F64x2(vreinterpretq_f64_u64(
        vorrq_u64(vandq_u64(vreinterpretq_u64_f64(r), convertible), vandq_u64(sign, vreinterpretq_u64_f64(w.raw())))));
}

#else

inline F64x2 Waveshaper::shapeScaled(F64x2 w, int factor) noexcept
{
    return F64x2(shapeLane(factor * w.left()), shapeLane(factor * w.right()));
}

#endif
