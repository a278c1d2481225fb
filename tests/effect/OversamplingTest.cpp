// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceTenTapFilter.h"
#include "ReferenceWaveshaper.h"
#include "effect/OversamplingDesign.h"
#include "effect/RecursiveFilter.h"
#include "effect/Waveshaper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>
#include <vector>

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(OversamplingDesign, FactorFourGivesTheTabledCoefficients)
{
    const OversamplingDesign d = OversamplingDesign::forFactor(4);
    const double c[10] = {5.54170194951284,     -14.25297392770068,  22.333943617761033,  -23.549058258853197,
                          17.418271388013345,   -9.134597847979045,  3.3479437991909595,  -0.81947439054418,
                          0.1207990837932859,   -0.008133933422253188};
    EXPECT_NEAR(d.gain, 0.0015785202278916655, 0.0015785202278916655 * 1e-12);
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(d.feedback[i], c[i], std::fabs(c[i]) * 1e-12) << "c" << i + 1;
}

TEST(OversamplingDesign, ProductAndOracleDesignTheSameBitsAtBothFactors)
{
    for (const int n : {4, 16}) {
        const OversamplingDesign d = OversamplingDesign::forFactor(n);
        double g = 0.0, c[10] = {};
        ReferenceTenTapFilter::design(n, g, c);
        EXPECT_TRUE(sameBits(d.gain, g)) << n;
        for (int i = 0; i < 10; ++i)
            EXPECT_TRUE(sameBits(d.feedback[i], c[i])) << n << " c" << i + 1;
    }
}

// Runs the product filter over x(0) … x(steps − 1) in the left lane and their
// negations in the right, across chunk boundaries; returns the left outputs.
std::vector<double> respond(int factor, int steps, double (*x)(int))
{
    const RecursiveFilter::Taps taps = RecursiveFilter::Taps::from(OversamplingDesign::forFactor(factor));
    RecursiveFilter filter;
    filter.reset();
    std::vector<double> out;
    F64x2 newest(0.0);
    for (int i = 0; i < steps; ++i) {
        const int slot = i % RecursiveFilter::kChunk;
        newest = filter.step(taps, slot, F64x2(x(i), -x(i)), newest);
        out.push_back(newest.left());
        EXPECT_EQ(newest.right(), -newest.left());
        if (slot == RecursiveFilter::kChunk - 1)
            filter.endChunk(RecursiveFilter::kChunk);
    }
    return out;
}

double unitStep(int) { return 1.0; }
double unitImpulse(int i) { return i == 0 ? 1.0 : 0.0; }

TEST(RecursiveFilter, StepResponseSettlesAtOneAcrossChunkBoundaries)
{
    EXPECT_NEAR(respond(4, 1500, unitStep).back(), 1.0, 1e-9);
    // At N = 16 the gain at 0 Hz carries the design's rounding (about 6e-7).
    EXPECT_NEAR(respond(16, 3000, unitStep).back(), 1.0, 2e-6);
}

// The delay at 0 Hz (the centroid of the impulse response) pins the pole
// placement at both factors independently of the oracle.
TEST(RecursiveFilter, DelaysLowFrequenciesByTheDesignedAmount)
{
    for (const auto& [factor, delay, tolerance] : {std::tuple{4, 6.8, 0.05}, std::tuple{16, 41.0, 0.5}}) {
        const std::vector<double> h = respond(factor, 3000, unitImpulse);
        double moment = 0.0, sum = 0.0;
        for (size_t n = 0; n < h.size(); ++n) {
            moment += n * h[n];
            sum += h[n];
        }
        EXPECT_NEAR(moment / sum, delay, tolerance) << factor;
    }
}

TEST(RecursiveFilter, FlushesNonFiniteAndTinyOutputsToPositiveZero)
{
    const RecursiveFilter::Taps taps = RecursiveFilter::Taps::from(OversamplingDesign::forFactor(4));
    RecursiveFilter filter;
    filter.reset();
    F64x2 y = filter.step(taps, 0, F64x2(std::numeric_limits<double>::quiet_NaN(),
                                         std::numeric_limits<double>::infinity()), F64x2(0.0));
    EXPECT_TRUE(sameBits(y.left(), 0.0));
    EXPECT_TRUE(sameBits(y.right(), 0.0));
    // g·1e-16 is about 1.6e-19, far below 2^-54: flushed, including its sign.
    y = filter.step(taps, 1, F64x2(1e-16, -1e-16), y);
    EXPECT_TRUE(sameBits(y.left(), 0.0));
    EXPECT_TRUE(sameBits(y.right(), 0.0));
    // The state holds only zeros, so silence stays exactly +0.
    for (int i = 2; i < 40; ++i) {
        y = filter.stepSilent(taps, i, y);
        ASSERT_TRUE(sameBits(y.left(), 0.0) && sameBits(y.right(), 0.0)) << i;
    }
    // The product filter agrees with the oracle filter bit for bit on a decay.
    ReferenceTenTapFilter oracle;
    double g = 0.0, c[10] = {};
    ReferenceTenTapFilter::design(4, g, c);
    y = filter.step(taps, 40, F64x2(1.0), y);
    double expected = oracle.step(g, c, 1.0);
    ASSERT_TRUE(sameBits(y.left(), expected));
    for (int i = 41; i < 5000; ++i) {
        const int slot = i % RecursiveFilter::kChunk;
        y = filter.stepSilent(taps, slot, y);
        if (slot == RecursiveFilter::kChunk - 1)
            filter.endChunk(RecursiveFilter::kChunk);
        expected = oracle.step(g, c, 0.0);
        ASSERT_TRUE(sameBits(y.left(), expected)) << i;
    }
    EXPECT_TRUE(sameBits(y.left(), 0.0)); // the decay ended in an exact zero
}

TEST(Waveshaper, MatchesTheTwoTableLookupBitForBitIncludingEdgeCases)
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> inputs = {0.0,  -0.0,   std::nan(""), -std::nan(""), inf,    -inf,   1e8,    -1e8,
                                  1e30, 1.5e7,  1.52e7,       199.0 / 142.143, 198.0 / 142.143, 1.4, -1.4,
                                  5e-324, 1e-300, 2147483647.0 / 142.143, 2147483648.0 / 142.143};
    for (double w = -2.0; w <= 2.0; w += 0.000731)
        inputs.push_back(w);
    for (size_t i = 0; i + 1 < inputs.size(); i += 2) {
        const F64x2 r = Waveshaper::shape(F64x2(inputs[i], inputs[i + 1]));
        EXPECT_TRUE(sameBits(r.left(), ReferenceWaveshaper::shape(inputs[i]))) << inputs[i];
        EXPECT_TRUE(sameBits(r.right(), ReferenceWaveshaper::shape(inputs[i + 1]))) << inputs[i + 1];
    }
}

TEST(Waveshaper, FoldingTheFactorIntoTheScaleChangesNoBit)
{
    for (const int factor : {4, 16}) {
        for (double v = -0.2; v <= 0.2; v += 0.0000371) {
            const F64x2 folded = Waveshaper::shapeScaled(F64x2(v, -v * 0.7), factor);
            const F64x2 plain = Waveshaper::shape(F64x2(factor * v, factor * -v * 0.7));
            ASSERT_TRUE(sameBits(folded.left(), plain.left())) << v;
            ASSERT_TRUE(sameBits(folded.right(), plain.right())) << v;
        }
    }
}

TEST(Waveshaper, IsOddNearlyLinearForSmallInputsAndClips)
{
    const F64x2 small = Waveshaper::shape(F64x2(0.01, -0.01));
    EXPECT_NEAR(small.left() / 0.01, 0.599, 0.001);
    EXPECT_EQ(small.right(), -small.left());
    const F64x2 clipped = Waveshaper::shape(F64x2(1.5, -100.0));
    EXPECT_EQ(clipped.left(), static_cast<double>(0.833333313f));
    EXPECT_EQ(clipped.right(), -static_cast<double>(0.833333313f));
    // A NaN gives a zero; so does a magnitude beyond a 32-bit table index.
    const F64x2 odd = Waveshaper::shape(F64x2(std::nan(""), 1e9));
    EXPECT_EQ(odd.left(), 0.0);
    EXPECT_EQ(odd.right(), 0.0);
}

} // namespace
