// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FrequencyResponse.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLevel = 0.001;      ///< sine peak: the waveshaper is linear this low
constexpr int kStepsPerDecade = 40;
constexpr int kFirstStep = 40;        ///< 10 Hz: the high-pass corner lies below 20 Hz
constexpr int kLastStep = 172;        ///< 19.95 kHz
constexpr double kWarmUpSeconds = 1.0;
constexpr double kSettleSeconds = 0.3;
constexpr double kSettlePeriods = 10.0;
constexpr double kFitSeconds = 0.1;
constexpr double kFitPeriods = 10.0;

/// Amplitude of the `hz` sinusoid in `x` (every `stride`-th sample from
/// `first`, `count` samples) by a least-squares fit of sine, cosine, offset
/// and slope: exact for any window length, and blind to the slow drift a
/// filter's long time constant leaves after the tone starts.
double FitAmplitude(const std::vector<float>& x, size_t first, size_t count, size_t stride, double hz, double rate)
{
    // Normal equations of the four basis functions, solved by elimination.
    std::array<std::array<double, 5>, 4> m{};
    const double w = 2.0 * kPi * hz / rate;
    for (size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) / static_cast<double>(count) - 0.5;
        const std::array<double, 4> basis = {std::sin(w * static_cast<double>(first + n)),
                                             std::cos(w * static_cast<double>(first + n)), 1.0, t};
        const double sample = x[(first + n) * stride];
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c)
                m[r][c] += basis[r] * basis[c];
            m[r][4] += basis[r] * sample;
        }
    }
    for (int p = 0; p < 4; ++p) {
        for (int r = p + 1; r < 4; ++r) {
            const double f = m[r][p] / m[p][p];
            for (int c = p; c < 5; ++c)
                m[r][c] -= f * m[p][c];
        }
    }
    std::array<double, 4> coef{};
    for (int r = 3; r >= 0; --r) {
        double sum = m[r][4];
        for (int c = r + 1; c < 4; ++c)
            sum -= m[r][c] * coef[c];
        coef[r] = sum / m[r][r];
    }
    return std::hypot(coef[0], coef[1]);
}

} // namespace

std::vector<ResponsePoint> MeasureResponse(PluginInstance& plugin, const std::vector<ResolvedSetting>& settings,
                                           int block)
{
    const double rate = plugin.Settings().sampleRate;
    const int channels = plugin.Settings().channels;

    AudioClip silence;
    silence.channels = channels;
    silence.rate = rate;
    silence.samples.assign(static_cast<size_t>(std::lround(kWarmUpSeconds * rate)) * channels, 0.0f);
    RenderClip(plugin, silence, block, settings, {});

    std::vector<ResponsePoint> points;
    for (int step = kFirstStep; step <= kLastStep; ++step) {
        const double hz = std::pow(10.0, static_cast<double>(step) / kStepsPerDecade);
        if (hz >= 0.45 * rate)
            break;
        const double period = rate / hz;
        const size_t settle = static_cast<size_t>(std::ceil(std::max(kSettleSeconds * rate, kSettlePeriods * period)));
        const double periods = std::ceil(std::max(kFitSeconds * hz, kFitPeriods));
        const size_t fit = static_cast<size_t>(std::lround(periods * period));

        AudioClip tone;
        tone.channels = channels;
        tone.rate = rate;
        tone.samples.resize((settle + fit) * channels);
        for (size_t n = 0; n < settle + fit; ++n) {
            const float s = static_cast<float>(kLevel * std::sin(2.0 * kPi * hz * static_cast<double>(n) / rate));
            for (int c = 0; c < channels; ++c)
                tone.samples[n * channels + c] = s;
        }
        const AudioClip out = RenderClip(plugin, tone, block, {}, {});
        // The input's own fit, so the float rounding of the tone cancels out.
        const double in = FitAmplitude(tone.samples, settle, fit, channels, hz, rate);
        const double gain = FitAmplitude(out.samples, settle, fit, channels, hz, rate) / in;
        points.push_back({hz, 20.0 * std::log10(std::max(gain, 1e-15))});
    }
    return points;
}
