// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceChain.h"
#include "ReferenceTenTapFilter.h"
#include "ReferenceWaveshaper.h"
#include "effect/OversamplingDesign.h"
#include "effect/OversampledPath.h"
#include "effect/Waveshaper.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Runs the model filter over x(0) … x(steps − 1); the product's filter is
// held to it bit for bit through the oversampled path below.
std::vector<double> respond(int factor, int steps, double (*x)(int))
{
    double g = 0.0, c[10] = {};
    ReferenceTenTapFilter::design(factor, g, c);
    ReferenceTenTapFilter filter;
    std::vector<double> out;
    for (int i = 0; i < steps; ++i)
        out.push_back(filter.step(g, c, x(i)));
    return out;
}

double unitStep(int) { return 1.0; }
double unitImpulse(int i) { return i == 0 ? 1.0 : 0.0; }

TEST(OversamplingFilter, StepResponseSettlesAtOne)
{
    EXPECT_NEAR(respond(4, 1500, unitStep).back(), 1.0, 1e-9);
    // At N = 16 the gain at 0 Hz carries the design's rounding (about 6e-7).
    EXPECT_NEAR(respond(16, 3000, unitStep).back(), 1.0, 2e-6);
}

// The delay at 0 Hz (the centroid of the impulse response) pins the pole
// placement at both factors.
TEST(OversamplingFilter, DelaysLowFrequenciesByTheDesignedAmount)
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

// The model of the oversampled path for one channel, as the chain's oracle
// runs it.
struct ModelPath {
    double g = 0.0, c[10] = {};
    ReferenceTenTapFilter up, down;
    explicit ModelPath(int factor) { ReferenceTenTapFilter::design(factor, g, c); }
    double run(double x, int factor)
    {
        double kept = 0.0;
        for (int j = 0; j < factor; ++j) {
            const double y = up.step(g, c, j == 0 ? 10.0 * ReferenceChain::admitted(x) : 0.0);
            const double d = down.step(g, c, ReferenceWaveshaper::shape(factor * y));
            if (j == 0)
                kept = d;
        }
        return kept;
    }
};

// Every path this processor runs, on what makes filters misbehave: NaN and
// infinities (flushed to +0), huge values, a decay into the flush range and
// silence, in calls of odd lengths that split the chunks unevenly.
TEST(OversampledPath, EveryPathMatchesTheModelBitForBitOnOddInputs)
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> inL(3000, 0.0), inR(3000, 0.0);
    for (int i = 0; i < 1200; ++i) {
        inL[i] = 0.4 * std::sin(0.03 * i) + (i % 7 == 0 ? 0.2 : 0.0);
        inR[i] = -0.3 * std::cos(0.011 * i);
    }
    inL[100] = std::nan("");
    inR[150] = inf;
    inL[300] = -inf;
    inR[400] = 1e300;
    inL[500] = -1e290;
    inL[700] = 1e-320;
    for (const int factor : {4, 16}) {
        for (const ChainPath path : {ChainPath::Portable, ChainPath::Sse2, ChainPath::Avx, ChainPath::Neon}) {
            if (!CanRunChainPath(path))
                continue;
            OversampledPath product;
            product.usePath(path);
            product.reset();
            ModelPath left(factor), right(factor);
            const OversamplingDesign design = OversamplingDesign::forFactor(factor);
            double decimated[512][2];
            for (int start = 0, n = 1; start < 3000; start += n, n = (n * 7 + 3) % 509 + 1) {
                const int count = std::min(n, 3000 - start);
                product.process({inL.data() + start, inR.data() + start, count, factor, &design, decimated});
                for (int t = 0; t < count; ++t) {
                    const double l = left.run(inL[start + t], factor), r = right.run(inR[start + t], factor);
                    ASSERT_TRUE(sameBits(decimated[t][0], l) && sameBits(decimated[t][1], r))
                        << ChainPathName(path) << " N=" << factor << " frame " << start + t;
                }
            }
        }
    }
}

TEST(OversampledPath, EveryPathsShaperMatchesTheTwoTableLookupBitForBit)
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> inputs = {0.0,  -0.0,   std::nan(""), -std::nan(""), inf,    -inf,   1e8,    -1e8,
                                  1e30, 1.5e7,  1.52e7,       199.0 / 142.143, 198.0 / 142.143, 1.4, -1.4,
                                  5e-324, 1e-300, 2147483647.0 / 142.143, 2147483648.0 / 142.143, 0.5};
    for (double w = -2.0; w <= 2.0; w += 0.000731)
        inputs.push_back(w);
    if (inputs.size() % 2 != 0)
        inputs.push_back(0.25);
    for (const ChainPath path : {ChainPath::Portable, ChainPath::Sse2, ChainPath::Avx, ChainPath::Neon}) {
        if (!CanRunChainPath(path))
            continue;
        for (const int factor : {1, 4, 16}) {
            std::vector<double> out(inputs.size());
            OversampledPath::shape(path, inputs.data(), out.data(), static_cast<int>(inputs.size()), factor);
            for (size_t i = 0; i < inputs.size(); ++i)
                ASSERT_TRUE(sameBits(out[i], ReferenceWaveshaper::shape(factor * inputs[i])))
                    << ChainPathName(path) << " " << factor << "·" << inputs[i];
        }
    }
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
