// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceSection.h"

#include "effect/HighPassSection.h"
#include "effect/HighShelfSection.h"
#include "effect/LowPassSection.h"
#include "effect/LowShelfSection.h"
#include "effect/MidBellSection.h"

#include <algorithm>
#include <cmath>

namespace {

// Row i of a table holds the s^i coefficient as {constant, ·p, ·p²}.
template <int N>
ReferenceSection::Analog atPosition(const double (&alpha)[N][3], const double (&beta)[N][3], double p)
{
    ReferenceSection::Analog analog{N - 1, {}, {}};
    for (int i = 0; i < N; ++i) {
        analog.alpha[i] = alpha[i][0] + alpha[i][1] * p + alpha[i][2] * p * p;
        analog.beta[i] = beta[i][0] + beta[i][1] * p + beta[i][2] * p * p;
    }
    return analog;
}

// Row i of a table holds the s^i coefficient as {constant, ·v, ·u, ·u·v}.
template <int N>
ReferenceSection::Analog atPair(const double (&alpha)[N][4], const double (&beta)[N][4], double u, double v)
{
    ReferenceSection::Analog analog{N - 1, {}, {}};
    for (int i = 0; i < N; ++i) {
        analog.alpha[i] = alpha[i][0] + alpha[i][1] * v + alpha[i][2] * u + alpha[i][3] * u * v;
        analog.beta[i] = beta[i][0] + beta[i][1] * v + beta[i][2] * u + beta[i][3] * u * v;
    }
    return analog;
}

} // namespace

void ReferenceSection::setHighShelf(double p, double fs)
{
    bilinear(atPosition(HighShelfSection::kAlpha, HighShelfSection::kBeta, p), fs);
}

void ReferenceSection::setHighPass(double u, double v, double fs)
{
    bilinear(atPair(HighPassSection::kAlpha, HighPassSection::kBeta, u, v), 2 * fs);
}

void ReferenceSection::setLowPass(double u, double v, double fs)
{
    bilinear(atPair(LowPassSection::kAlpha, LowPassSection::kBeta, u, v), fs / 2);
}

void ReferenceSection::setMidBell(double p, double fs)
{
    bilinear(atPosition(MidBellSection::kAlpha, MidBellSection::kBeta, p), fs);
}

void ReferenceSection::setLowShelf(double p, double fs)
{
    bilinear(atPosition(LowShelfSection::kAlpha, LowShelfSection::kBeta, p), fs);
}

void ReferenceSection::bilinear(const Analog& analog, double k)
{
    mOrder = analog.order;
    const double k2 = k * k;
    const double k3 = k2 * k;
    const double* from[2] = {analog.alpha, analog.beta};
    double* to[2] = {mA, mB};
    for (int j = 0; j < 2; ++j) {
        // The terms c_i·K^i first; sections with poles close to z = 1 are
        // sensitive to how they are rounded.
        const double* c = from[j];
        const double s1 = c[1] * k;
        const double s2 = c[2] * k2;
        const double s3 = c[3] * k3;
        if (mOrder == 2) {
            to[j][0] = s2 + s1 + c[0];
            to[j][1] = 2 * c[0] - 2 * s2;
            to[j][2] = s2 - s1 + c[0];
        } else {
            to[j][0] = s3 + s2 + s1 + c[0];
            to[j][1] = -3 * s3 - s2 + s1 + 3 * c[0];
            to[j][2] = 3 * s3 - s2 - s1 + 3 * c[0];
            to[j][3] = -s3 + s2 - s1 + c[0];
        }
    }
}

double ReferenceSection::largestHistory() const
{
    return std::max({std::fabs(mX[0]), std::fabs(mX[1]), std::fabs(mX[2]), std::fabs(mY[0]), std::fabs(mY[1]),
                     std::fabs(mY[2])});
}

void ReferenceSection::clear()
{
    for (int i = 0; i < 3; ++i)
        mX[i] = mY[i] = 0.0;
}

double ReferenceSection::run(double x)
{
    // b0·x + b1·x1 + … + bn·xn − a1·y1 − … − an·yn, summed from the oldest
    // terms to the newest, then divided by a0.
    double sum = mB[mOrder] * mX[mOrder - 1];
    for (int i = mOrder - 1; i >= 1; --i)
        sum += mB[i] * mX[i - 1];
    for (int i = mOrder; i >= 2; --i)
        sum -= mA[i] * mY[i - 1];
    sum += mB[0] * x;
    sum -= mA[1] * mY[0];
    const double y = sum / mA[0];
    if (!std::isfinite(y)) {
        clear();
        return 0.0;
    }
    for (int i = mOrder - 1; i > 0; --i) {
        mX[i] = mX[i - 1];
        mY[i] = mY[i - 1];
    }
    mX[0] = x;
    mY[0] = y;
    return y;
}
