// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/AnalogPolynomial.h"
#include "effect/BilinearScale.h"
#include "effect/F64x2.h"

/// Digital coefficients of one order-2 or order-3 section in every lane of L, as
/// the bilinear image of an analog ratio N(s)/D(s) multiplied through by
/// (1 + z⁻¹)^Order. a0 is deliberately not normalised to one: the section
/// divides by it for every sample.
template <int Order, class L = F64x2>
struct SectionCoefficients {
    static_assert(Order == 2 || Order == 3, "sections are of order 2 or 3");

    L a[Order + 1]; ///< denominator a0 … aOrder
    L b[Order + 1]; ///< numerator b0 … bOrder

    /// [audio] Coefficients of a section driven by one position p, from its
    /// analog tables (row i: {constant, ·p, ·p²} of the s^i coefficient).
    static SectionCoefficients inPosition(const double (&alpha)[Order + 1][3], const double (&beta)[Order + 1][3],
                                          L p, const BilinearScale& scale) noexcept
    {
        L a[Order + 1], b[Order + 1];
        AnalogPolynomial::inPosition(alpha, p, a);
        AnalogPolynomial::inPosition(beta, p, b);
        return fromAnalog(a, b, scale);
    }

    /// [audio] Coefficients of a section driven by two ganged positions u
    /// and v (row i: {constant, ·v, ·u, ·u·v} of the s^i coefficient).
    static SectionCoefficients inPair(const double (&alpha)[Order + 1][4], const double (&beta)[Order + 1][4],
                                      L u, L v, const BilinearScale& scale) noexcept
    {
        L a[Order + 1], b[Order + 1];
        AnalogPolynomial::inPair(alpha, u, v, a);
        AnalogPolynomial::inPair(beta, u, v, b);
        return fromAnalog(a, b, scale);
    }

private:
    // Maps analog polynomial coefficients (index i multiplies s^i) to the
    // digital ones.
    static SectionCoefficients fromAnalog(const L (&alpha)[Order + 1], const L (&beta)[Order + 1],
                                          const BilinearScale& scale) noexcept
    {
        SectionCoefficients c;
        map(alpha, scale, c.a);
        map(beta, scale, c.b);
        return c;
    }

    static void map(const L (&p)[Order + 1], const BilinearScale& s, L (&d)[Order + 1]) noexcept
    {
        const L t1 = p[1] * L(s.k);
        const L t2 = p[2] * L(s.k2);
        if constexpr (Order == 2) {
            d[0] = t2 + t1 + p[0];
            d[1] = L(2.0) * p[0] - L(2.0) * t2;
            d[2] = t2 - t1 + p[0];
        } else {
            const L t3 = p[3] * L(s.k3);
            const L three(3.0);
            d[0] = t3 + t2 + t1 + p[0];
            d[1] = L(-3.0) * t3 - t2 + t1 + three * p[0];
            d[2] = three * t3 - t2 - t1 + three * p[0];
            d[3] = -t3 + t2 - t1 + p[0];
        }
    }
};
