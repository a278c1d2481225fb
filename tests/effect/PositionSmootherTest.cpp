// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/PositionSmoother.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The plain recursion the smoother must reproduce bit for bit.
double plainStep(double d, double state, double target) { return d * state + (1.0 - d) * target; }

TEST(PositionSmoother, ComesToRestOnlyWhereThePlainRecursionStandsStill)
{
    const double d = std::exp((1.0 / 48000.0) * -6.283185307179586);
    PositionSmoother<double> smoother;
    smoother.beginBlock(d, 0.5);
    double plain = 0.0;
    int steps = 0;
    while (!smoother.atRest() && steps < 2000000) {
        plain = plainStep(d, plain, 0.5);
        ASSERT_EQ(smoother.step(), plain) << steps;
        ++steps;
    }
    ASSERT_TRUE(smoother.atRest());
    EXPECT_GT(steps, 1000); // it glides first
    // At rest, the plain recursion would not move either.
    for (int i = 0; i < 100; ++i) {
        plain = plainStep(d, plain, 0.5);
        EXPECT_EQ(smoother.step(), plain);
    }
}

} // namespace
