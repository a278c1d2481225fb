// SPDX-License-Identifier: GPL-3.0-or-later
// keldra-chain-speed: the chain benchmark's cases (ChainBench.cpp) without
// Google Benchmark, which Windows builds here lack, so that the speed of each
// system's build can be held against the same oracle in the same run. Each
// case runs the oracle, then the product, second after second until each has
// used SECONDS (default 1) of its thread's processor time, and prints their
// "rtf" (seconds of audio per second of processor time) and the ratio,
// "vs_oracle". Many short intervals are summed because some systems' thread
// clocks tick only every 10 to 16 ms.
#include "ChainBenchCase.h"
#include "ReferenceChain.h"
#include "ThreadClock.h"
#include "effect/ChainPath.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace ChainBenchCase;

/// The real-time factor of `run` over measured seconds until they have
/// taken `budget` seconds of processor time.
template <class Chain>
double Rtf(Run<Chain>& run, double budget)
{
    double busy = 0.0;
    long seconds = 0;
    // A clock that never moves ends the loop too, as a figure of 0.
    while ((busy < budget || seconds < 3) && seconds < 1000000) {
        run.Prepare();
        const double start = ThreadSeconds();
        run.Measured();
        busy += ThreadSeconds() - start;
        ++seconds;
    }
    return busy > 0.0 ? seconds * kSecondsPerRun / busy : 0.0;
}

/// Seconds from the end of a second of the benchmark's noise until the
/// product chain sleeps through a block, at the benchmark's settings but
/// with HPF at `highPass`.
double SecondsToSleep(int factor, double highPass)
{
    ChainSettings settings = Settings(factor);
    settings.highPass = highPass;
    SignalChain chain;
    chain.reset(kRate);
    const std::vector<double> loud[2] = {Signal(0), Signal(1)};
    const std::vector<double> silence(kBlock, 0.0);
    std::vector<double> outL(kBlock), outR(kBlock);
    double* out[2] = {outL.data(), outR.data()};
    for (int b = 0; b < kBlocksPerRun; ++b) {
        const double* in[2] = {loud[0].data() + b * kBlock, loud[1].data() + b * kBlock};
        chain.process(in, out, kBlock, settings);
    }
    const double* in[2] = {silence.data(), silence.data()};
    for (int b = 0; b < 60 * kRate / kBlock; ++b) {
        chain.process(in, out, kBlock, settings);
        if (chain.sleptThrough())
            return b * kBlock / kRate;
    }
    return -1.0;
}

} // namespace

int main(int argc, char** argv)
{
    const double budget = argc > 1 ? std::max(0.1, std::atof(argv[1])) : 1.0;
    std::printf("chain path %s, %.1f s of processor time per figure\n", ChainPathName(DefaultChainPath()), budget);
    struct Case {
        const char* name;
        Material material;
    };
    double sumLog = 0.0;
    int cases = 0;
    for (const Case c : {Case{"signal", Material::Signal}, Case{"knobs moving", Material::SignalKnobsMoving},
                         Case{"silence after burst", Material::SilenceAfterBurst},
                         Case{"silence after tail", Material::SilenceAfterTail}}) {
        for (const int factor : {4, 16}) {
            Run<ReferenceChain> oracle(factor, c.material);
            Run<SignalChain> product(factor, c.material);
            const double oracleRtf = Rtf(oracle, budget);
            const double productRtf = Rtf(product, budget);
            const double ratio = productRtf / oracleRtf;
            std::printf("N=%-2d %-20s oracle rtf %8.1f  product rtf %8.1f  vs_oracle %6.2f\n", factor, c.name,
                        oracleRtf, productRtf, ratio);
            sumLog += std::log(ratio);
            ++cases;
        }
    }
    std::printf("geometric mean vs_oracle %.2f\n", std::exp(sumLog / cases));
    for (const int factor : {4, 16})
        for (const double highPass : {0.3, 0.0})
            std::printf("N=%-2d HPF %.1f: sleeps %.2f s after the burst ends\n", factor, highPass,
                        SecondsToSleep(factor, highPass));
    return 0;
}
