// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceSection.h"

#include "effect/HighPassSection.h"
#include "effect/HighShelfSection.h"
#include "effect/LowPassSection.h"
#include "effect/LowShelfSection.h"
#include "effect/MidBellSection.h"

#include <cmath>

namespace {

// c0 + c1·p + c2·p²
double inP(const double c[3], double p) { return c[0] + c[1] * p + c[2] * p * p; }

// c0 + cv·v + cu·u + cuv·u·v
double inUV(const double c[4], double u, double v) { return c[0] + c[1] * v + c[2] * u + c[3] * u * v; }

} // namespace

void ReferenceSection::setHighShelf(double p, double fs)
{
    double alpha[3], beta[3];
    for (int i = 0; i < 3; ++i) {
        alpha[i] = inP(HighShelfSection::kAlpha[i], p);
        beta[i] = inP(HighShelfSection::kBeta[i], p);
    }
    bilinear2(alpha, beta, fs);
}

void ReferenceSection::setHighPass(double u, double v, double fs)
{
    double alpha[4], beta[4];
    for (int i = 0; i < 4; ++i) {
        alpha[i] = inUV(HighPassSection::kAlpha[i], u, v);
        beta[i] = inUV(HighPassSection::kBeta[i], u, v);
    }
    bilinear3(alpha, beta, 2 * fs);
}

void ReferenceSection::setLowPass(double u, double v, double fs)
{
    double alpha[3], beta[3];
    for (int i = 0; i < 3; ++i) {
        alpha[i] = inUV(LowPassSection::kAlpha[i], u, v);
        beta[i] = inUV(LowPassSection::kBeta[i], u, v);
    }
    bilinear2(alpha, beta, fs / 2);
}

void ReferenceSection::setMidBell(double p, double fs)
{
    double alpha[4], beta[4];
    for (int i = 0; i < 4; ++i) {
        alpha[i] = inP(MidBellSection::kAlpha[i], p);
        beta[i] = inP(MidBellSection::kBeta[i], p);
    }
    bilinear3(alpha, beta, fs);
}

void ReferenceSection::setLowShelf(double p, double fs)
{
    double alpha[4], beta[4];
    for (int i = 0; i < 4; ++i) {
        alpha[i] = inP(LowShelfSection::kAlpha[i], p);
        beta[i] = inP(LowShelfSection::kBeta[i], p);
    }
    bilinear3(alpha, beta, fs);
}

void ReferenceSection::bilinear2(const double alpha[3], const double beta[3], double k)
{
    mOrder = 2;
    const double k2 = k * k;
    const double* from[2] = {alpha, beta};
    double* to[2] = {mA, mB};
    for (int j = 0; j < 2; ++j) {
        const double* c = from[j];
        // a0 = c2·K² + c1·K + c0; a1 = 2·c0 − 2·c2·K²; a2 = c2·K² − c1·K + c0
        const double s2 = c[2] * k2;
        const double s1 = c[1] * k;
        to[j][0] = s2 + s1 + c[0];
        to[j][1] = 2 * c[0] - 2 * s2;
        to[j][2] = s2 - s1 + c[0];
    }
}

void ReferenceSection::bilinear3(const double alpha[4], const double beta[4], double k)
{
    mOrder = 3;
    const double k2 = k * k;
    const double k3 = k2 * k;
    const double* from[2] = {alpha, beta};
    double* to[2] = {mA, mB};
    for (int j = 0; j < 2; ++j) {
        const double* c = from[j];
        const double s3 = c[3] * k3;
        const double s2 = c[2] * k2;
        const double s1 = c[1] * k;
        to[j][0] = s3 + s2 + s1 + c[0];
        to[j][1] = -3 * s3 - s2 + s1 + 3 * c[0];
        to[j][2] = 3 * s3 - s2 - s1 + 3 * c[0];
        to[j][3] = -s3 + s2 - s1 + c[0];
    }
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
        for (int i = 0; i < 3; ++i)
            mX[i] = mY[i] = 0.0;
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
