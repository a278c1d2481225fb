// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's ProcessBlock and OnReset over the real parameters. This
// program counts every allocation, so it stands apart from the other tests.
#include "AllocationCounter.h"
#include "ChainTestSignals.h"
#include "effect/KELDRA.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace chaintest;

// An effect as a host leaves it after initialising and setting up processing.
struct Prepared {
    KELDRA effect;
    explicit Prepared(double fs)
    {
        effect.LoadPreset(0);
        effect.SetSampleRate(fs);
        effect.RestartSignal();
        effect.TakeWholeSet();
    }
    void set(KeldraParamId id, double plain)
    {
        effect.GetParam(ToIndex(id))->SetPlain(plain);
        effect.TakeWholeSet();
    }
    void process(const std::vector<double>& inL, const std::vector<double>& inR, std::vector<double>& outL,
                 std::vector<double>& outR, int block)
    {
        outL.assign(inL.size(), 0.0);
        outR.assign(inR.size(), 0.0);
        for (size_t start = 0; start < inL.size(); start += block) {
            const int n = static_cast<int>(std::min<size_t>(block, inL.size() - start));
            double* in[2] = {const_cast<double*>(inL.data()) + start, const_cast<double*>(inR.data()) + start};
            double* out[2] = {outL.data() + start, outR.data() + start};
            effect.ProcessBlock(in, out, n);
        }
    }
};

TEST(KeldraProcess, ProcessBlockAllocatesNothing)
{
    Prepared p(48000.0);
    std::vector<double> inL = noise(512, 0.7, 1), inR = noise(512, 0.7, 2), outL(512), outR(512);
    double* in[2] = {inL.data(), inR.data()};
    double* out[2] = {outL.data(), outR.data()};

    AllocationCounter counter;
    std::vector<double> probe(3); // the counter itself must see allocations
    const long probeCount = counter.Count();
    for (const double factor : {0.0, 1.0}) {
        p.effect.GetParam(ToIndex(KeldraParamId::kOversampling))->SetPlain(factor);
        p.effect.TakeWholeSet();
        for (int i = 0; i < 4; ++i)
            p.effect.ProcessBlock(in, out, 512);
        p.effect.ProcessBlock(in, out, 0);
        p.effect.ProcessBlock(in, out, 1);
    }
    EXPECT_EQ(probeCount, 1);
    EXPECT_EQ(counter.Count(), probeCount);
}

TEST(KeldraProcess, FollowsTheOracleAtBothFactorsWithWorkingValuesAndSampleRate)
{
    for (const double factor : {0.0, 1.0}) {
        Prepared p(44100.0);
        p.set(KeldraParamId::kOversampling, factor);
        p.set(KeldraParamId::kOut, -6.5);
        p.set(KeldraParamId::kGainHigh, 0.8);
        p.set(KeldraParamId::kHighPass, 0.4);
        p.set(KeldraParamId::kLowPass, -0.2);
        p.set(KeldraParamId::kGainMid, 0.3);
        p.set(KeldraParamId::kGainLow, 0.9);
        const std::vector<double> inL = noise(6000, 0.6, 9), inR = sine(6000, 0.4, 330.0, 44100.0);
        std::vector<double> outL, outR;
        p.process(inL, inR, outL, outR, 480);

        ChainSettings s;
        s.sampleRate = 44100.0;
        s.oversampling = factor != 0.0 ? 16 : 4;
        s.outputGain = std::pow(10.0, -6.5 / 20.0);
        s.highShelf = 0.8;
        s.highPass = 0.4;
        s.lowPass = -0.2;
        s.midBell = 0.3;
        s.lowShelf = 0.9;
        ReferenceChain oracle;
        oracle.reset(44100.0);
        std::vector<double> refL, refR;
        runBlocks(oracle, inL, inR, refL, refR, 480, s);
        EXPECT_TRUE(agrees(outL, refL)) << factor;
        EXPECT_TRUE(agrees(outR, refR)) << factor;
    }
}

} // namespace
