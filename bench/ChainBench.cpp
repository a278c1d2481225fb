// SPDX-License-Identifier: GPL-3.0-or-later
// The product chain against the scalar oracle, 48 kHz stereo in 512-frame
// blocks, at oversampling 4 and 16, on signal (knobs at rest, and knobs
// moving every block) and on silence after a loud burst. Each case reports "rtf" (seconds of audio processed per second of
// the thread's processor time); product cases also report "vs_oracle", their rtf divided by the
// oracle's on the same material in the same run.
#include "ReferenceChain.h"
#include "ThreadClock.h"
#include "effect/SignalChain.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr int kBlocksPerRun = 94; // about one second of audio

class FixedBypass : public IBypassSource {
public:
    double BypassValue() const noexcept override { return 0.0; }
};

enum class Material { Signal, SignalKnobsMoving, SilenceAfterBurst };

std::vector<double> signal(int channel)
{
    std::vector<double> v(static_cast<size_t>(kBlock) * kBlocksPerRun);
    std::uint64_t seed = 12345 + channel;
    for (size_t i = 0; i < v.size(); ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        const double noise = (static_cast<double>(seed >> 11) / 9007199254740992.0) * 2.0 - 1.0;
        v[i] = 0.3 * noise + 0.2 * std::sin(0.05 * static_cast<double>(i));
    }
    return v;
}

std::map<std::string, double>& oracleFactors()
{
    static std::map<std::string, double> factors;
    return factors;
}

template <class Chain>
void runChain(benchmark::State& state, Material material, bool isOracle)
{
    ChainSettings settings;
    settings.sampleRate = kRate;
    settings.oversampling = static_cast<int>(state.range(0));
    settings.highShelf = 0.62;
    settings.highPass = 0.3;
    settings.lowPass = -0.1;
    settings.midBell = 0.4;
    settings.lowShelf = 0.55;

    const std::vector<double> loud = signal(0);
    const std::vector<double> loudRight = signal(1);
    const std::vector<double> silence(loud.size(), 0.0);
    const bool silent = material == Material::SilenceAfterBurst;
    const std::vector<double>& inL = silent ? silence : loud;
    const std::vector<double>& inR = silent ? silence : loudRight;
    std::vector<double> outL(inL.size()), outR(inR.size());
    FixedBypass bypass;
    Chain chain;
    chain.reset(settings.sampleRate);

    const auto runSecond = [&](const std::vector<double>& left, const std::vector<double>& right) {
        for (int b = 0; b < kBlocksPerRun; ++b) {
            if (material == Material::SignalKnobsMoving) {
                // Every block turns every knob a little: the smoothers never
                // rest, so every sample gets its own coefficients.
                const double phase = 0.05 * b;
                settings.highShelf = 0.5 + 0.4 * std::sin(phase);
                settings.highPass = 0.3 + 0.2 * std::sin(1.3 * phase);
                settings.lowPass = -0.1 - 0.05 * std::sin(0.7 * phase);
                settings.midBell = 0.5 + 0.3 * std::sin(1.1 * phase);
                settings.lowShelf = 0.5 + 0.4 * std::cos(0.9 * phase);
            }
            const double* in[2] = {left.data() + b * kBlock, right.data() + b * kBlock};
            double* out[2] = {outL.data() + b * kBlock, outR.data() + b * kBlock};
            chain.process(in, out, kBlock, settings, bypass);
        }
    };

    double busy = 0.0;
    for (auto _ : state) {
        // Silence is measured right after a burst, while everything decays.
        if (material == Material::SilenceAfterBurst) {
            state.PauseTiming();
            runSecond(loud, loudRight);
            state.ResumeTiming();
        }
        const double start = ThreadSeconds();
        runSecond(inL, inR);
        busy += ThreadSeconds() - start;
        benchmark::DoNotOptimize(outL.data());
        benchmark::DoNotOptimize(outR.data());
        benchmark::ClobberMemory();
    }

    const double audioSeconds = static_cast<double>(state.iterations()) * kBlock * kBlocksPerRun / kRate;
    const double rtf = audioSeconds / busy;
    state.counters["rtf"] = rtf;
    const std::string key = std::to_string(settings.oversampling) + std::to_string(static_cast<int>(material));
    if (isOracle) {
        oracleFactors()[key] = rtf;
    } else if (oracleFactors().count(key) != 0) {
        state.counters["vs_oracle"] = rtf / oracleFactors()[key];
    }
}

void Oracle_Signal(benchmark::State& s) { runChain<ReferenceChain>(s, Material::Signal, true); }
void Product_Signal(benchmark::State& s) { runChain<SignalChain>(s, Material::Signal, false); }
void Oracle_SignalKnobsMoving(benchmark::State& s) { runChain<ReferenceChain>(s, Material::SignalKnobsMoving, true); }
void Product_SignalKnobsMoving(benchmark::State& s) { runChain<SignalChain>(s, Material::SignalKnobsMoving, false); }
void Oracle_SilenceAfterBurst(benchmark::State& s) { runChain<ReferenceChain>(s, Material::SilenceAfterBurst, true); }
void Product_SilenceAfterBurst(benchmark::State& s) { runChain<SignalChain>(s, Material::SilenceAfterBurst, false); }

// Oracles first, so each product case finds its oracle's figure.
BENCHMARK(Oracle_Signal)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Product_Signal)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Oracle_SignalKnobsMoving)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Product_SignalKnobsMoving)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Oracle_SilenceAfterBurst)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Product_SilenceAfterBurst)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
