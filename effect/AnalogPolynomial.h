// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/F64x2.h"

/// Evaluates the analog coefficients of a section, each a small polynomial in
/// the potentiometer position(s). Terms whose constant factors are zero are
/// skipped; with positions that are finite this gives the same bits as adding
/// the zero terms.
struct AnalogPolynomial {
    /// [audio] out[i] = c[i][0] + c[i][1]·p + c[i][2]·p².
    template <int N>
    static void inPosition(const double (&c)[N][3], F64x2 p, F64x2 (&out)[N]) noexcept
    {
        for (int i = 0; i < N; ++i) {
            if (c[i][1] == 0.0 && c[i][2] == 0.0)
                out[i] = F64x2(c[i][0]);
            else
                out[i] = F64x2(c[i][0]) + F64x2(c[i][1]) * p + F64x2(c[i][2]) * p * p;
        }
    }

    /// [audio] out[i] = c[i][0] + c[i][1]·v + c[i][2]·u + c[i][3]·u·v.
    template <int N>
    static void inPair(const double (&c)[N][4], F64x2 u, F64x2 v, F64x2 (&out)[N]) noexcept
    {
        for (int i = 0; i < N; ++i) {
            if (c[i][1] == 0.0 && c[i][2] == 0.0 && c[i][3] == 0.0) {
                out[i] = F64x2(c[i][0]);
            } else {
                F64x2 sum = F64x2(c[i][0]) + F64x2(c[i][1]) * v + F64x2(c[i][2]) * u;
                if (c[i][3] != 0.0)
                    sum += F64x2(c[i][3]) * u * v;
                out[i] = sum;
            }
        }
    }
};
