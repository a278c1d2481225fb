// SPDX-License-Identifier: GPL-3.0-or-later
#include "effect/AnalogResponse.h"

#include "effect/AnalogPolynomial.h"
#include "effect/HighPassSection.h"
#include "effect/HighShelfSection.h"
#include "effect/LowPassSection.h"
#include "effect/LowShelfSection.h"
#include "effect/MidBellSection.h"

#include <cmath>
#include <complex>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The half-power level (−3 dB): a sweep filter passes its band at unity,
// and its corner is where the response crosses this level.
constexpr double kCornerPower = 0.5;
// Where corners are looked for, Hz; wider than every corner the knobs reach.
constexpr double kLowestHz = 1.0;
constexpr double kHighestHz = 200000.0;
constexpr int kScanPointsPerDecade = 48;
constexpr int kBisections = 60;

// |N(s)/D(s)|² at s = j·ω, ω in the prototype's own frequency variable.
template <int Count>
double PowerAt(const double (&alpha)[Count], const double (&beta)[Count], double omega) noexcept
{
    std::complex<double> numerator = 0.0, denominator = 0.0, s = 1.0;
    const std::complex<double> jw(0.0, omega);
    for (int i = 0; i < Count; ++i) {
        numerator += beta[i] * s;
        denominator += alpha[i] * s;
        s *= jw;
    }
    return std::norm(numerator) / std::norm(denominator);
}

// The bilinear map s = K·(1 − z⁻¹)/(1 + z⁻¹) with K = rateFactor·fs reads a
// low frequency f as s = j·π·rateFactor·f: that is the prototype's frequency
// variable for a section, whatever the sample rate.
template <class Section>
double OmegaOf(double hz) noexcept
{
    return kPi * Section::kRateFactor * hz;
}

template <class Section>
double GainDbAt(double p, double hz) noexcept
{
    double alpha[Section::kOrder + 1], beta[Section::kOrder + 1];
    AnalogPolynomial::inPosition(Section::kAlpha, p, alpha);
    AnalogPolynomial::inPosition(Section::kBeta, p, beta);
    return 10.0 * std::log10(PowerAt(alpha, beta, OmegaOf<Section>(hz)));
}

// The lowest frequency at which `above(hz)` turns true, scanning upwards and
// then halving the last interval; kHighestHz when it never does.
template <class Above>
double FirstCrossing(Above above) noexcept
{
    const double ratio = std::pow(10.0, 1.0 / kScanPointsPerDecade);
    double low = kLowestHz;
    if (above(low)) return low;
    for (double high = low * ratio; high <= kHighestHz * ratio; low = high, high *= ratio) {
        if (!above(high)) continue;
        for (int i = 0; i < kBisections; ++i) {
            const double middle = std::sqrt(low * high);
            (above(middle) ? high : low) = middle;
        }
        return std::sqrt(low * high);
    }
    return kHighestHz;
}

// The two ganged potentiometers of a sweep filter sit together at rest.
template <class Section>
void SweepCoefficients(double position, double (&alpha)[Section::kOrder + 1],
                       double (&beta)[Section::kOrder + 1]) noexcept
{
    AnalogPolynomial::inPair(Section::kAlpha, position, position, alpha);
    AnalogPolynomial::inPair(Section::kBeta, position, position, beta);
}

}  // namespace

namespace AnalogResponse {

double HighShelfGainDb(double position) noexcept
{
    return GainDbAt<HighShelfSection>(1.0 - position, kHighShelfReferenceHz);
}

double MidBellGainDb(double position) noexcept
{
    return GainDbAt<MidBellSection>(1.0 - position, kMidBellReferenceHz);
}

double LowShelfGainDb(double position) noexcept
{
    return GainDbAt<LowShelfSection>(1.0 - position, kLowShelfReferenceHz);
}

double HighPassCornerHz(double position) noexcept
{
    double alpha[4], beta[4];
    SweepCoefficients<HighPassSection>(1.0 - position, alpha, beta);
    return FirstCrossing([&](double hz) {
        return PowerAt(alpha, beta, OmegaOf<HighPassSection>(hz)) >= kCornerPower;
    });
}

double LowPassCornerHz(double position) noexcept
{
    double alpha[3], beta[3];
    SweepCoefficients<LowPassSection>(-position, alpha, beta);
    return FirstCrossing([&](double hz) {
        return PowerAt(alpha, beta, OmegaOf<LowPassSection>(hz)) < kCornerPower;
    });
}

}  // namespace AnalogResponse
