// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChainTestSignals.h"
#include "ReferenceChain.h"
#include "effect/SignalChain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace chaintest;

namespace {

// Relative agreement with an absolute floor for values near zero.
::testing::AssertionResult agrees(const std::vector<double>& product, const std::vector<double>& oracle)
{
    double worst = 0.0;
    for (size_t i = 0; i < product.size(); ++i) {
        const double diff = std::fabs(product[i] - oracle[i]);
        if (diff > 1e-12 && diff > 1e-9 * std::fabs(oracle[i]))
            return ::testing::AssertionFailure()
                   << "sample " << i << ": product " << product[i] << " oracle " << oracle[i];
        worst = std::max(worst, diff);
    }
    return ::testing::AssertionSuccess() << "largest difference " << worst;
}

struct ChainRun {
    double fs;
    int factor;
    int block;
};

class ChainAgainstOracle : public ::testing::TestWithParam<ChainRun> {};

// Long noise and sine runs with every position moving between blocks.
TEST_P(ChainAgainstOracle, MatchesOnNoiseAndSinesWithParametersMoving)
{
    const ChainRun run = GetParam();
    const int frames = 24000;
    std::vector<double> inL = noise(frames, 0.5, 7);
    std::vector<double> inR = sine(frames, 0.3, 220.0, run.fs);
    const std::vector<double> burst = sine(frames, 2.0, 3100.0, run.fs, 0.4);
    for (int i = 0; i < frames; ++i)
        inR[i] += (i / 3000) % 2 ? burst[i] : 0.0;

    SignalChain product;
    ReferenceChain oracle;
    product.reset();
    oracle.reset();
    ScriptedBypass bypass;
    bypass.script([](long read) { return (read / 5000) % 3 == 2 ? 1.0 : 0.0; });
    ScriptedBypass oracleBypass;
    oracleBypass.script([](long read) { return (read / 5000) % 3 == 2 ? 1.0 : 0.0; });

    ChainSettings s;
    s.sampleRate = run.fs;
    s.oversampling = run.factor;
    std::vector<double> pL(frames), pR(frames), oL(frames), oR(frames);
    for (int start = 0, blockIndex = 0; start < frames; start += run.block, ++blockIndex) {
        const double phase = blockIndex * 0.37;
        s.highShelf = 0.5 + 0.5 * std::sin(phase);
        s.highPass = 0.48 + 0.48 * std::sin(phase * 1.3);
        s.lowPass = -0.15 - 0.15 * std::sin(phase * 0.7);
        s.midBell = 0.5 + 0.48 * std::sin(phase * 1.1);
        s.lowShelf = 0.5 + 0.5 * std::cos(phase * 0.9);
        s.outputGain = std::pow(10.0, 3.0 * std::sin(phase) / 20.0);
        const int n = std::min(run.block, frames - start);
        const double* in[2] = {inL.data() + start, inR.data() + start};
        double* po[2] = {pL.data() + start, pR.data() + start};
        double* oo[2] = {oL.data() + start, oR.data() + start};
        product.process(in, po, n, s, bypass);
        oracle.process(in, oo, n, s, oracleBypass);
    }
    EXPECT_TRUE(agrees(pL, oL));
    EXPECT_TRUE(agrees(pR, oR));
}

INSTANTIATE_TEST_SUITE_P(RatesFactorsAndBlocks, ChainAgainstOracle,
                         ::testing::Values(ChainRun{44100.0, 4, 512}, ChainRun{48000.0, 4, 33}, ChainRun{96000.0, 4, 1},
                                           ChainRun{44100.0, 16, 97}, ChainRun{48000.0, 16, 512}, ChainRun{96000.0, 16, 7}));

} // namespace
