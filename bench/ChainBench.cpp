// SPDX-License-Identifier: GPL-3.0-or-later
// The product chain against the scalar oracle, 48 kHz stereo in 512-frame
// blocks, at oversampling 4 and 16, on signal (knobs at rest, and knobs
// moving every block), on silence right after a loud burst and on silence
// long after it. Each case reports "rtf" (seconds of audio processed per second of
// the thread's processor time); product cases also report "vs_oracle", their rtf divided by the
// oracle's on the same material in the same run.
#include "ChainBenchCase.h"
#include "ReferenceChain.h"
#include "ThreadClock.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace {

using namespace ChainBenchCase;

std::map<std::string, double>& oracleFactors()
{
    static std::map<std::string, double> factors;
    return factors;
}

template <class Chain>
void runChain(benchmark::State& state, Material material, bool isOracle)
{
    const int oversampling = static_cast<int>(state.range(0));
    Run<Chain> run(oversampling, material);
    double busy = 0.0;
    for (auto _ : state) {
        // Silence is measured right after a burst, while everything decays.
        state.PauseTiming();
        run.Prepare();
        state.ResumeTiming();
        const double start = ThreadSeconds();
        run.Measured();
        busy += ThreadSeconds() - start;
        benchmark::DoNotOptimize(run.Output());
        benchmark::ClobberMemory();
    }

    const double audioSeconds = static_cast<double>(state.iterations()) * kSecondsPerRun;
    const double rtf = audioSeconds / busy;
    state.counters["rtf"] = rtf;
    const std::string key = std::to_string(oversampling) + std::to_string(static_cast<int>(material));
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
void Oracle_SilenceAfterTail(benchmark::State& s) { runChain<ReferenceChain>(s, Material::SilenceAfterTail, true); }
void Product_SilenceAfterTail(benchmark::State& s) { runChain<SignalChain>(s, Material::SilenceAfterTail, false); }

// Oracles first, so each product case finds its oracle's figure.
BENCHMARK(Oracle_Signal)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Product_Signal)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Oracle_SignalKnobsMoving)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Product_SignalKnobsMoving)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Oracle_SilenceAfterBurst)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Product_SilenceAfterBurst)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Oracle_SilenceAfterTail)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(Product_SilenceAfterTail)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
