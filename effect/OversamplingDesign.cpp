// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/OversamplingDesign.h"

#include <cmath>
#include <complex>

OversamplingDesign OversamplingDesign::forFactor(int factor) noexcept
{
    using Complex = std::complex<double>;
    const double x = kCutoff / factor;
    const double w = kTwoPi * x;

    // A(z) = Π (1 − zk·z⁻¹), expanded in place from the polynomial 1. Poles
    // are taken in table order, each pair as (σ + jω) then (σ − jω); the
    // rounding of the nearly cancelling sum below depends on that order.
    Complex a[kTaps + 1] = {Complex(1.0, 0.0)};
    int degree = 0;
    for (const auto& pair : kPrototypePairs) {
        const double radius = std::exp(pair[0] * w);
        for (const double omega : {pair[1], -pair[1]}) {
            const Complex pole = radius * Complex(std::cos(omega * w), std::sin(omega * w));
            ++degree;
            for (int i = degree; i >= 1; --i)
                a[i] = a[i] - pole * a[i - 1];
        }
    }

    Complex sum = a[0];
    for (int i = 1; i <= kTaps; ++i)
        sum += a[i];

    OversamplingDesign design;
    design.gain = 1.0 / std::abs(1.0 / sum);
    for (int i = 1; i <= kTaps; ++i)
        design.feedback[i - 1] = -a[i].real() / a[0].real();
    return design;
}
