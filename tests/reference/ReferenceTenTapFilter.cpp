// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceTenTapFilter.h"

#include "effect/OversamplingDesign.h"

#include <cmath>
#include <complex>

void ReferenceTenTapFilter::design(int n, double& g, double c[10])
{
    using Complex = std::complex<double>;
    const double x = 0.2 / n;
    const double w = 6.283185307179586 * x;

    Complex poles[10];
    for (int pair = 0; pair < 5; ++pair) {
        const double sigma = OversamplingDesign::kPrototypePairs[pair][0];
        const double omega = OversamplingDesign::kPrototypePairs[pair][1];
        poles[2 * pair] = std::exp(sigma * w) * Complex(std::cos(omega * w), std::sin(omega * w));
        poles[2 * pair + 1] = std::exp(sigma * w) * Complex(std::cos(-omega * w), std::sin(-omega * w));
    }

    // A(z) = Π (1 − zk·z⁻¹), starting from the polynomial 1.
    Complex a[11];
    a[0] = 1.0;
    for (int k = 0; k < 10; ++k)
        for (int i = k + 1; i >= 1; --i)
            a[i] = a[i] - poles[k] * a[i - 1];

    Complex s = a[0];
    for (int i = 1; i <= 10; ++i)
        s += a[i];
    g = 1.0 / std::abs(1.0 / s);
    for (int i = 1; i <= 10; ++i)
        c[i - 1] = -a[i].real() / a[0].real();
}

double ReferenceTenTapFilter::step(double g, const double c[10], double x)
{
    double y = g * x;
    for (int i = 10; i >= 1; --i)
        y += c[i - 1] * mY[i - 1];
    if (!std::isfinite(y) || std::fabs(y) < std::ldexp(1.0, -54))
        y = 0.0;
    for (int i = 9; i >= 1; --i)
        mY[i] = mY[i - 1];
    mY[0] = y;
    return y;
}

void ReferenceTenTapFilter::clear()
{
    for (double& y : mY)
        y = 0.0;
}
