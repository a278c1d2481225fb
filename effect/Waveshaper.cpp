// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/Waveshaper.h"

#include "effect/WaveshaperTable.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kLast = WaveshaperTable::kEntries - 1;
constexpr double kScale = WaveshaperTable::kScale;

// The table for negative inputs is the exact negation of the positive one and
// the result takes the input's sign anyway, so one table serves both signs.
// Entry j holds the neighbours {P[j], P[j+1]} promoted to double, so a lookup
// is one aligned load; the last entry repeats P[199] as its own neighbour.
struct alignas(16) Neighbours {
    double lower;
    double upper;
};

struct NeighbourTable {
    Neighbours entries[WaveshaperTable::kEntries];
};

constexpr NeighbourTable makeTable()
{
    NeighbourTable t{};
    for (int j = 0; j < WaveshaperTable::kEntries; ++j) {
        t.entries[j].lower = WaveshaperTable::kPositive[j];
        t.entries[j].upper = WaveshaperTable::kPositive[j < kLast ? j + 1 : kLast];
    }
    return t;
}

constexpr NeighbourTable kTable = makeTable();

// Index and fraction of one lane: an index outside 0 … 198 (the integer
// minimum of a failed conversion included) reads one end of the table with a
// fraction of 0, which gives exactly that end's value.
inline int clampIndex(int i) noexcept { return i < 0 ? 0 : (i > kLast ? kLast : i); }

} // namespace

#ifdef KELDRA_F64X2_SSE2

F64x2 Waveshaper::shape(F64x2 w) noexcept
{
    const __m128d sign = _mm_set1_pd(-0.0);
    const __m128d t = _mm_mul_pd(_mm_andnot_pd(sign, w.raw()), _mm_set1_pd(kScale));
    // Truncation toward zero; NaN and out-of-range values give INT_MIN.
    const __m128i index = _mm_cvttpd_epi32(t);
    const __m128i inside32 = _mm_and_si128(_mm_cmpgt_epi32(index, _mm_set1_epi32(-1)),
                                           _mm_cmplt_epi32(index, _mm_set1_epi32(kLast)));
    const __m128d inside = _mm_castsi128_pd(_mm_shuffle_epi32(inside32, _MM_SHUFFLE(1, 1, 0, 0)));
    const __m128d fraction = _mm_and_pd(_mm_sub_pd(t, _mm_cvtepi32_pd(index)), inside);

    const int i0 = clampIndex(_mm_cvtsi128_si32(index));
    const int i1 = clampIndex(_mm_cvtsi128_si32(_mm_shuffle_epi32(index, _MM_SHUFFLE(1, 1, 1, 1))));
    const __m128d n0 = _mm_load_pd(&kTable.entries[i0].lower);
    const __m128d n1 = _mm_load_pd(&kTable.entries[i1].lower);
    const __m128d lower = _mm_unpacklo_pd(n0, n1);
    const __m128d upper = _mm_unpackhi_pd(n0, n1);

    const __m128d r = _mm_add_pd(_mm_mul_pd(lower, _mm_sub_pd(_mm_set1_pd(1.0), fraction)),
                                 _mm_mul_pd(upper, fraction));
    // r is never negative, so setting the sign bit copies the input's sign.
    return F64x2(_mm_or_pd(r, _mm_and_pd(sign, w.raw())));
}

#else

namespace {

double shapeLane(double w) noexcept
{
    const double magnitude = w < 0.0 ? -w : (w == 0.0 ? 0.0 : w);
    const double t = magnitude * kScale;
    const bool convertible = t >= 0.0 && t < 2147483648.0;
    const int i = convertible ? static_cast<int>(t) : INT_MIN;
    const double fraction = (i >= 0 && i < kLast) ? t - i : 0.0;
    const Neighbours& n = kTable.entries[clampIndex(i)];
    const double r = n.lower * (1.0 - fraction) + n.upper * fraction;
    std::uint64_t bits, signBits;
    std::memcpy(&bits, &r, sizeof bits);
    std::memcpy(&signBits, &w, sizeof signBits);
    bits |= signBits & 0x8000000000000000ull;
    double out;
    std::memcpy(&out, &bits, sizeof out);
    return out;
}

} // namespace

F64x2 Waveshaper::shape(F64x2 w) noexcept { return F64x2(shapeLane(w.left()), shapeLane(w.right())); }

#endif
