// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Evaluates the analog coefficients of a section, each a small polynomial in
/// the potentiometer position(s), in every lane of a lane type L (F64x2, or a
/// four-lane type of an instruction-set path). Terms whose constant factors
/// are zero are skipped; with positions that are finite this gives the same
/// bits as adding the zero terms.
struct AnalogPolynomial {
    /// [audio] out[i] = c[i][0] + c[i][1]·p + c[i][2]·p².
    template <class L, int N>
    static void inPosition(const double (&c)[N][3], L p, L (&out)[N]) noexcept
    {
        for (int i = 0; i < N; ++i) {
            if (c[i][1] == 0.0 && c[i][2] == 0.0)
                out[i] = L(c[i][0]);
            else
                out[i] = L(c[i][0]) + L(c[i][1]) * p + L(c[i][2]) * p * p;
        }
    }

    /// [audio] out[i] = c[i][0] + c[i][1]·v + c[i][2]·u + c[i][3]·u·v.
    template <class L, int N>
    static void inPair(const double (&c)[N][4], L u, L v, L (&out)[N]) noexcept
    {
        for (int i = 0; i < N; ++i) {
            if (c[i][1] == 0.0 && c[i][2] == 0.0 && c[i][3] == 0.0) {
                out[i] = L(c[i][0]);
            } else {
                L sum = L(c[i][0]) + L(c[i][1]) * v + L(c[i][2]) * u;
                if (c[i][3] != 0.0)
                    sum = sum + L(c[i][3]) * u * v;
                out[i] = sum;
            }
        }
    }
};
