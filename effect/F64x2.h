// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#if defined(__SSE2__) && !defined(KELDRA_PORTABLE_LANES)
#include <emmintrin.h>
#define KELDRA_F64X2_SSE2 1
#elif defined(__aarch64__) && !defined(KELDRA_PORTABLE_LANES)
#include <arm_neon.h>
#define KELDRA_F64X2_NEON 1
#endif

/// Two double-precision lanes, lane 0 the left channel and lane 1 the right.
/// The stereo chain runs both channels through the same operations, so one
/// SSE2 or NEON register carries both; the portable form gives the same
/// results. Every operation is the plain IEEE operation per lane (no fused
/// multiply-add, no reassociation), so a lane computes bit for bit what scalar
/// code would. [any] Value type; all operations are noexcept and allocate
/// nothing. The register forms also give what four lanes in two registers
/// need (loads, interleaving, lane masks).
class F64x2 {
public:
#ifdef KELDRA_F64X2_SSE2
    using Mask = __m128d;

    F64x2() noexcept : mV(_mm_setzero_pd()) {}
    explicit F64x2(double both) noexcept : mV(_mm_set1_pd(both)) {}
    F64x2(double left, double right) noexcept : mV(_mm_set_pd(right, left)) {}

    double left() const noexcept { return _mm_cvtsd_f64(mV); }
    /// p[0] and p[1]; p 16-byte aligned.
    static F64x2 load(const double* p) noexcept { return F64x2(_mm_load_pd(p)); }
    /// Left to p[0], right to p[1]; p 16-byte aligned.
    void store(double* p) const noexcept { _mm_store_pd(p, mV); }
    double right() const noexcept { return _mm_cvtsd_f64(_mm_unpackhi_pd(mV, mV)); }

    /// (a.left, b.left) and (a.right, b.right).
    static F64x2 lefts(F64x2 a, F64x2 b) noexcept { return F64x2(_mm_unpacklo_pd(a.mV, b.mV)); }
    static F64x2 rights(F64x2 a, F64x2 b) noexcept { return F64x2(_mm_unpackhi_pd(a.mV, b.mV)); }

    friend F64x2 operator+(F64x2 a, F64x2 b) noexcept { return F64x2(_mm_add_pd(a.mV, b.mV)); }
    friend F64x2 operator-(F64x2 a, F64x2 b) noexcept { return F64x2(_mm_sub_pd(a.mV, b.mV)); }
    friend F64x2 operator*(F64x2 a, F64x2 b) noexcept { return F64x2(_mm_mul_pd(a.mV, b.mV)); }
    friend F64x2 operator/(F64x2 a, F64x2 b) noexcept { return F64x2(_mm_div_pd(a.mV, b.mV)); }
    friend F64x2 operator-(F64x2 a) noexcept { return F64x2(_mm_xor_pd(a.mV, _mm_set1_pd(-0.0))); }

    /// Lanes whose value is finite (not NaN, not infinite) as a two-bit mask,
    /// bit 0 for the left lane.
    int finiteMask() const noexcept
    {
        const __m128d magnitude = _mm_and_pd(mV, _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFFll)));
        const __m128d big = _mm_castsi128_pd(_mm_set1_epi64x(0x7FEFFFFFFFFFFFFFll));
        return _mm_movemask_pd(_mm_cmple_pd(magnitude, big));
    }

    static Mask allKept() noexcept { return _mm_castsi128_pd(_mm_set1_epi64x(-1)); }
    /// Lanes where the mask is clear become +0.0.
    static F64x2 keep(F64x2 v, Mask m) noexcept { return F64x2(_mm_and_pd(v.mV, m)); }
    /// Lanes at least `tiny` in magnitude (NaN never).
    Mask flushMask(F64x2 tiny) const noexcept
    {
        return _mm_cmpge_pd(_mm_andnot_pd(_mm_set1_pd(-0.0), mV), tiny.mV);
    }

    __m128d raw() const noexcept { return mV; }
    explicit F64x2(__m128d v) noexcept : mV(v) {}

private:
    __m128d mV;
#elif defined(KELDRA_F64X2_NEON)
    using Mask = uint64x2_t;

    F64x2() noexcept : mV(vdupq_n_f64(0.0)) {}
    explicit F64x2(double both) noexcept : mV(vdupq_n_f64(both)) {}
    F64x2(double left, double right) noexcept : mV(vsetq_lane_f64(right, vdupq_n_f64(left), 1)) {}

    double left() const noexcept { return vgetq_lane_f64(mV, 0); }
    /// p[0] and p[1].
    static F64x2 load(const double* p) noexcept { return F64x2(vld1q_f64(p)); }
    /// Left to p[0], right to p[1].
    void store(double* p) const noexcept { vst1q_f64(p, mV); }
    double right() const noexcept { return vgetq_lane_f64(mV, 1); }

    /// (a.left, b.left) and (a.right, b.right).
    static F64x2 lefts(F64x2 a, F64x2 b) noexcept { return F64x2(vzip1q_f64(a.mV, b.mV)); }
    static F64x2 rights(F64x2 a, F64x2 b) noexcept { return F64x2(vzip2q_f64(a.mV, b.mV)); }

    friend F64x2 operator+(F64x2 a, F64x2 b) noexcept { return F64x2(vaddq_f64(a.mV, b.mV)); }
    friend F64x2 operator-(F64x2 a, F64x2 b) noexcept { return F64x2(vsubq_f64(a.mV, b.mV)); }
    friend F64x2 operator*(F64x2 a, F64x2 b) noexcept { return F64x2(vmulq_f64(a.mV, b.mV)); }
    friend F64x2 operator/(F64x2 a, F64x2 b) noexcept { return F64x2(vdivq_f64(a.mV, b.mV)); }
    friend F64x2 operator-(F64x2 a) noexcept { return F64x2(vnegq_f64(a.mV)); }

    /// Lanes whose value is finite (not NaN, not infinite) as a two-bit mask,
    /// bit 0 for the left lane.
    int finiteMask() const noexcept
    {
        const uint64x2_t finite = vcleq_f64(vabsq_f64(mV), vdupq_n_f64(1.7976931348623157e308));
        return static_cast<int>((vgetq_lane_u64(finite, 0) & 1) | (vgetq_lane_u64(finite, 1) & 2));
    }

    static Mask allKept() noexcept { return vdupq_n_u64(~0ull); }
    /// Lanes where the mask is clear become +0.0.
    static F64x2 keep(F64x2 v, Mask m) noexcept
    {
        return F64x2(vreinterpretq_f64_u64(vandq_u64(vreinterpretq_u64_f64(v.mV), m)));
    }
    /// Lanes at least `tiny` in magnitude (NaN never).
    Mask flushMask(F64x2 tiny) const noexcept { return vcgeq_f64(vabsq_f64(mV), tiny.mV); }

    float64x2_t raw() const noexcept { return mV; }
    explicit F64x2(float64x2_t v) noexcept : mV(v) {}

private:
    float64x2_t mV;
#else
    F64x2() noexcept = default;
    explicit F64x2(double both) noexcept : mL(both), mR(both) {}
    F64x2(double left, double right) noexcept : mL(left), mR(right) {}

    double left() const noexcept { return mL; }
    void store(double* p) const noexcept
    {
        p[0] = mL;
        p[1] = mR;
    }
    double right() const noexcept { return mR; }

    friend F64x2 operator+(F64x2 a, F64x2 b) noexcept { return {a.mL + b.mL, a.mR + b.mR}; }
    friend F64x2 operator-(F64x2 a, F64x2 b) noexcept { return {a.mL - b.mL, a.mR - b.mR}; }
    friend F64x2 operator*(F64x2 a, F64x2 b) noexcept { return {a.mL * b.mL, a.mR * b.mR}; }
    friend F64x2 operator/(F64x2 a, F64x2 b) noexcept { return {a.mL / b.mL, a.mR / b.mR}; }
    friend F64x2 operator-(F64x2 a) noexcept { return {-a.mL, -a.mR}; }

    int finiteMask() const noexcept { return (isFinite(mL) ? 1 : 0) | (isFinite(mR) ? 2 : 0); }

private:
    static double magnitude(double v) noexcept { return v < 0.0 ? -v : v; }
    static bool isFinite(double v) noexcept { return magnitude(v) <= 1.7976931348623157e308; }

    double mL = 0.0;
    double mR = 0.0;
#endif

public:
    /// True when both lanes are below `level` in magnitude (a NaN never is).
    bool magnitudeBelow(F64x2 level) const noexcept
    {
        const F64x2 negated = -level;
        return left() < level.left() && left() > negated.left() && right() < level.right() &&
               right() > negated.right();
    }

    F64x2& operator+=(F64x2 o) noexcept { return *this = *this + o; }
    F64x2& operator-=(F64x2 o) noexcept { return *this = *this - o; }
};
