// SPDX-License-Identifier: GPL-3.0-or-later
// Magnitude responses of the five sections with positions at rest, from the
// coefficients the product computes (left lane).
#include "effect/HighPassSection.h"
#include "effect/HighShelfSection.h"
#include "effect/LowPassSection.h"
#include "effect/LowShelfSection.h"
#include "effect/MidBellSection.h"
#include "effect/StereoSection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>

namespace {

template <int Order>
double gainDb(const SectionCoefficients<Order>& c, double hz, double fs)
{
    const std::complex<double> zInv = std::polar(1.0, -2.0 * 3.141592653589793 * hz / fs);
    std::complex<double> num = 0.0, den = 0.0, power = 1.0;
    for (int i = 0; i <= Order; ++i) {
        num += c.b[i].left() * power;
        den += c.a[i].left() * power;
        power *= zInv;
    }
    return 20.0 * std::log10(std::abs(num / den));
}

// Frequency between lo and hi where f(hz) crosses `level`, f monotonic there.
double crossing(const std::function<double(double)>& f, double lo, double hi, double level)
{
    const bool rising = f(hi) > f(lo);
    for (int i = 0; i < 200; ++i) {
        const double mid = std::sqrt(lo * hi);
        ((f(mid) < level) == rising ? lo : hi) = mid;
    }
    return std::sqrt(lo * hi);
}

auto highShelf(double gainH, double fs)
{
    return HighShelfSection::coefficients(F64x2(1.0 - gainH), BilinearScale::of(fs));
}
auto midBell(double gainM, double fs) { return MidBellSection::coefficients(F64x2(1.0 - gainM), BilinearScale::of(fs)); }
auto lowShelf(double gainL, double fs)
{
    return LowShelfSection::coefficients(F64x2(1.0 - gainL), BilinearScale::of(fs));
}
auto highPass(double hpf, double fs)
{
    return HighPassSection::coefficients(F64x2(1.0 - hpf), F64x2(1.0 - hpf), BilinearScale::of(2.0 * fs));
}
auto lowPass(double lpf, double fs)
{
    return LowPassSection::coefficients(F64x2(-lpf), F64x2(-lpf), BilinearScale::of(fs / 2.0));
}

constexpr double kFs = 48000.0;

TEST(SectionResponse, HighShelfBoostsAndCutsSymmetricallyAndIsFlatAtHalf)
{
    const double hz[] = {1000.0, 10000.0, 20000.0};
    const double boost[] = {4.03, 13.31, 13.69};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(gainDb(highShelf(1.0, kFs), hz[i], kFs), boost[i], 0.05) << hz[i];
        EXPECT_NEAR(gainDb(highShelf(0.0, kFs), hz[i], kFs), -boost[i], 0.05) << hz[i];
    }
    for (double f = 20.0; f <= 20000.0; f *= 1.25)
        EXPECT_NEAR(gainDb(highShelf(0.5, kFs), f, kFs), 0.0, 0.02) << f;
}

TEST(SectionResponse, MidBellPeaksNear2520HzAtBothExtremes)
{
    for (const double position : {0.98, 0.02}) {
        const auto c = midBell(position, kFs);
        double bestHz = 0.0, best = 0.0;
        for (double f = 500.0; f < 10000.0; f *= 1.0005) {
            const double g = gainDb(c, f, kFs);
            if (std::fabs(g) > std::fabs(best)) {
                best = g;
                bestHz = f;
            }
        }
        EXPECT_NEAR(bestHz, 2520.0, 2520.0 * 0.01) << position;
        EXPECT_NEAR(best, position > 0.5 ? 15.44 : -15.44, 0.05) << position;
    }
    for (double f = 20.0; f <= 20000.0; f *= 1.25)
        EXPECT_NEAR(gainDb(midBell(0.5, kFs), f, kFs), 0.0, 0.02) << f;
}

TEST(SectionResponse, LowShelfBoostsAndCutsTheBassAndIsFlatAtHalf)
{
    EXPECT_NEAR(gainDb(lowShelf(1.0, kFs), 30.0, kFs), 11.53, 0.05);
    EXPECT_NEAR(gainDb(lowShelf(1.0, kFs), 300.0, kFs), 8.67, 0.05);
    EXPECT_NEAR(gainDb(lowShelf(0.0, kFs), 30.0, kFs), -11.54, 0.05);
    EXPECT_NEAR(gainDb(lowShelf(0.0, kFs), 300.0, kFs), -8.66, 0.05);
    for (double f = 20.0; f <= 20000.0; f *= 1.25)
        EXPECT_NEAR(gainDb(lowShelf(0.5, kFs), f, kFs), 0.0, 0.02) << f;
}

TEST(SectionResponse, HighPassCornersRiseAboveTheCornerAndBlockDc)
{
    const double positions[] = {0.0, 0.5, 0.96};
    const double corners[] = {12.4, 24.7, 269.0};
    for (int i = 0; i < 3; ++i) {
        const auto c = highPass(positions[i], kFs);
        const double ref = gainDb(c, 1000.0, kFs);
        const double corner = crossing([&](double f) { return gainDb(c, f, kFs); }, 1.0, corners[i] * 1.5, ref - 3.0);
        EXPECT_NEAR(corner, corners[i], corners[i] * 0.01) << positions[i];
    }
    const auto open = highPass(0.0, kFs);
    EXPECT_NEAR(gainDb(open, 20.0, kFs) - gainDb(open, 1000.0, kFs), 1.16, 0.05);
    // b0 + b1 + b2 + b3 = N(z = 1) vanishes: nothing passes at 0 Hz.
    double dc = 0.0;
    for (const F64x2& b : open.b)
        dc += b.left();
    EXPECT_NEAR(dc, 0.0, 1e-12 * std::fabs(open.b[0].left()));
}

TEST(SectionResponse, HighPassCornerDoesNotMoveWithTheSampleRate)
{
    for (const double fs : {44100.0, 48000.0, 96000.0}) {
        const auto c = highPass(0.0, fs);
        const double ref = gainDb(c, 1000.0, fs);
        EXPECT_NEAR(crossing([&](double f) { return gainDb(c, f, fs); }, 1.0, 18.0, ref - 3.0), 12.4, 0.124) << fs;
    }
}

TEST(SectionResponse, LowPassCornersAt48kAnd44k1)
{
    const double positions[] = {0.0, -0.1, -0.3};
    const double at48k[] = {18800.0, 3100.0, 1100.0};
    const double at44k1[] = {17700.0, 3100.0, 1100.0};
    for (const double fs : {48000.0, 44100.0}) {
        for (int i = 0; i < 3; ++i) {
            const auto c = lowPass(positions[i], fs);
            const double ref = gainDb(c, 100.0, fs);
            const double expected = fs == 48000.0 ? at48k[i] : at44k1[i];
            const double corner =
                crossing([&](double f) { return gainDb(c, f, fs); }, 200.0, fs / 2 * 0.999, ref - 3.0);
            EXPECT_NEAR(corner, expected, expected * 0.01) << fs << " " << positions[i];
        }
    }
}

TEST(StereoSection, ANonFiniteLaneRestartsFromRestWithoutTouchingTheOther)
{
    StereoSection<HighShelfSection::kOrder> section;
    section.reset();
    const auto c = highShelf(1.0, kFs);
    for (int i = 0; i < 50; ++i)
        section.process(c, F64x2(0.5, 0.5));
    StereoSection<HighShelfSection::kOrder> twin = section;

    const F64x2 raw = section.process(c, F64x2(std::nan(""), 0.5));
    EXPECT_EQ(raw.finiteMask(), 2);
    const F64x2 bad = section.restartWhereNot(raw.finiteMask(), raw);
    const F64x2 good = twin.process(c, F64x2(0.5, 0.5));
    EXPECT_EQ(bad.left(), 0.0);
    EXPECT_EQ(bad.right(), good.right());

    // The left lane now behaves like a fresh section; the right goes on.
    StereoSection<HighShelfSection::kOrder> fresh;
    fresh.reset();
    for (int i = 0; i < 20; ++i) {
        const F64x2 y = section.process(c, F64x2(0.25, 0.5));
        EXPECT_EQ(y.left(), fresh.process(c, F64x2(0.25, 0.25)).left());
        EXPECT_EQ(y.right(), twin.process(c, F64x2(0.5, 0.5)).right());
        EXPECT_TRUE(std::isfinite(y.left()));
    }
}

} // namespace
