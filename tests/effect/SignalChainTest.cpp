// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChainTestSignals.h"
#include "effect/OversamplingDesign.h"
#include "effect/ScopedDenormalFlush.h"

#include <gtest/gtest.h>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace chaintest;

namespace {

// The processor's floating-point control register, and its flush-to-zero bits.
#if defined(__aarch64__)
unsigned FloatMode() { return __builtin_aarch64_get_fpcr(); }
void SetFloatMode(unsigned mode) { __builtin_aarch64_set_fpcr(mode); }
constexpr unsigned kFlushBits = 1u << 24;
#else
unsigned FloatMode() { return _mm_getcsr(); }
void SetFloatMode(unsigned mode) { _mm_setcsr(mode); }
constexpr unsigned kFlushBits = 0x8040u;
#endif

struct ChainRun {
    double fs;
    int factor;
    int block;
};

class ChainAgainstOracle : public ::testing::TestWithParam<ChainRun> {};

// Long noise and sine runs with every position and the gain moving,
// and the factor switched halfway without a reset.
TEST_P(ChainAgainstOracle, MatchesOnNoiseAndSinesWhileEverySettingMoves)
{
    const ChainRun run = GetParam();
    const int frames = 24000;
    std::vector<double> inL = noise(frames, 0.5, 7);
    std::vector<double> inR = sine(frames, 0.3, 220.0, run.fs);
    const std::vector<double> burst = sine(frames, 2.0, 3100.0, run.fs, 0.4);
    for (int i = 0; i < frames; ++i)
        inR[i] += (i / 3000) % 2 ? burst[i] : 0.0;

    SideBySide chains;
    ChainSettings s;
    s.sampleRate = run.fs;
    chains.run(inL, inR, run.block, s, [&](int block, int start, ChainSettings& s) {
        const double phase = block * 0.37;
        s.oversampling = start < frames / 2 ? run.factor : 20 - run.factor;
        s.highShelf = 0.5 + 0.5 * std::sin(phase);
        s.highPass = 0.48 + 0.48 * std::sin(phase * 1.3);
        s.lowPass = -0.15 - 0.15 * std::sin(phase * 0.7);
        s.midBell = 0.5 + 0.48 * std::sin(phase * 1.1);
        s.lowShelf = 0.5 + 0.5 * std::cos(phase * 0.9);
        s.outputGain = std::pow(10.0, 3.0 * std::sin(phase) / 20.0);
    });
    EXPECT_TRUE(chains.bothAgree());
}

INSTANTIATE_TEST_SUITE_P(RatesFactorsAndBlocks, ChainAgainstOracle,
                         ::testing::Values(ChainRun{44100.0, 4, 512}, ChainRun{48000.0, 4, 33}, ChainRun{96000.0, 4, 1},
                                           ChainRun{44100.0, 16, 97}, ChainRun{48000.0, 16, 512}, ChainRun{96000.0, 16, 7}));

// Gain in dB of a settled chain at defaults for a sine, measured as RMS over
// whole periods after two seconds of settling.
double settledGainDb(double amplitude, double hz)
{
    const double fs = 48000.0;
    const int settle = 96000;
    const int measure = 48000;
    const std::vector<double> in = sine(settle + measure, amplitude, hz, fs);
    std::vector<double> outL, outR;
    SignalChain chain;
    chain.reset(48000.0);
    runBlocks(chain, in, in, outL, outR, 512, ChainSettings{48000.0});
    double inPower = 0.0, outPower = 0.0;
    for (int i = settle; i < settle + measure; ++i) {
        inPower += in[i] * in[i];
        outPower += outL[i] * outL[i];
    }
    return 10.0 * std::log10(outPower / inPower);
}

TEST(SignalChain, SettledDefaultsAddTheStatedGainToSines)
{
    EXPECT_NEAR(settledGainDb(0.001, 100.0), 1.60, 0.05);
    EXPECT_NEAR(settledGainDb(0.001, 1000.0), 1.38, 0.05);
    // Clipped in the shaper, the added component is much smaller.
    EXPECT_NEAR(settledGainDb(0.5, 100.0), 0.65, 0.05);
}

// The hook that lets the suite run once on each path must not fall back
// silently, or a path would go untested.
TEST(SignalChain, RunsOnThePathTheEnvironmentNames)
{
    const char* wanted = std::getenv("KELDRA_CHAIN_PATH");
    if (wanted == nullptr)
        GTEST_SKIP() << "KELDRA_CHAIN_PATH not set";
    EXPECT_STREQ(ChainPathName(SignalChain().path()), wanted);
}

TEST(SignalChain, SilenceInGivesExactZerosOut)
{
    const std::vector<double> silence(20000, 0.0);
    for (const int factor : {4, 16}) {
        ChainSettings s;
        s.oversampling = factor;
        SignalChain chain;
        chain.reset(s.sampleRate);
            std::vector<double> l, r;
        runBlocks(chain, silence, silence, l, r, 128, s);
        for (size_t i = 0; i < l.size(); ++i) {
            ASSERT_EQ(0, std::memcmp(&l[i], &silence[0], sizeof(double))) << i;
            ASSERT_EQ(0, std::memcmp(&r[i], &silence[0], sizeof(double))) << i;
        }
    }
}

TEST(SignalChain, AZeroFrameBlockRedesignsButWritesNothing)
{
    ChainSettings s;
    s.oversampling = 16;
    SignalChain chain;
    chain.reset(s.sampleRate);
    double left = 7.0, right = 9.0;
    const double inL = 1.0, inR = 1.0;
    const double* in[2] = {&inL, &inR};
    double* out[2] = {&left, &right};
    chain.process(in, out, 0, s);
    EXPECT_EQ(left, 7.0);
    EXPECT_EQ(right, 9.0);
    EXPECT_EQ(chain.design().gain, OversamplingDesign::forFactor(16).gain);
    s.oversampling = 4;
    chain.process(in, out, 0, s);
    EXPECT_EQ(chain.design().gain, OversamplingDesign::forFactor(4).gain);
    EXPECT_EQ(left, 7.0);
}

// Loud audio at other settings, a reset, a block of no frames still at
// those settings, then new settings: exactly what a fresh chain gives, and
// what the oracle gives.
TEST(SignalChain, AfterAResetRunsAsAFreshChainStartedAtTheSettings)
{
    const std::vector<double> loud = noise(3000, 0.8, 11), quiet = noise(3000, 0.3, 12);
    ChainSettings before, after;
    before.highPass = 0.7;
    before.lowShelf = 1.0;
    after.highShelf = 0.8;
    after.highPass = 0.3;
    after.oversampling = 16;
    SideBySide chains;
    chains.run(loud, loud, 300, before);
    chains.reset(after.sampleRate);
    const double* none[2] = {nullptr, nullptr};
    double* nowhere[2] = {nullptr, nullptr};
    chains.product.process(none, nowhere, 0, before);
    chains.oracle.process(none, nowhere, 0, before);
    chains.run(quiet, quiet, 300, after);
    EXPECT_TRUE(chains.bothAgree());
    SignalChain fresh;
    fresh.reset(after.sampleRate);
    std::vector<double> fL, fR;
    runBlocks(fresh, quiet, quiet, fL, fR, 300, after);
    EXPECT_TRUE(agrees(chains.productL, fL));
    EXPECT_TRUE(agrees(chains.productR, fR));
}

TEST(SignalChain, FlushesDenormalsOnlyWhileProcessing)
{
    const unsigned before = FloatMode();
    SetFloatMode(before & ~kFlushBits);
    const unsigned mode = FloatMode();
    SignalChain chain;
    chain.reset(44100.0);
    std::vector<double> in = noise(600, 0.5, 5), l, r;
    runBlocks(chain, in, in, l, r, 512, ChainSettings{});
    EXPECT_EQ(FloatMode(), mode);
    SetFloatMode(before);
}

TEST(ScopedDenormalFlush, DenormalOperandsAndResultsAreZeroOnlyWhileItLives)
{
    volatile double tiny = 1e-310, half = 0.5, big = 1e300;
    volatile double shrunk, grown;
    {
        ScopedDenormalFlush flush;
        shrunk = tiny * half;
        grown = tiny * big;
    }
    EXPECT_EQ(shrunk, 0.0);
    EXPECT_EQ(grown, 0.0);
    shrunk = tiny * half;
    grown = tiny * big;
    EXPECT_EQ(shrunk, 5e-311);
    EXPECT_GT(grown, 1e-11);
}

TEST(SignalChain, OneNanSampleDoesNotSilenceTheChain)
{
    std::vector<double> in = sine(6000, 0.3, 440.0, 48000.0), l, r;
    in[1000] = std::nan("");
    SignalChain chain;
    chain.reset(48000.0);
    runBlocks(chain, in, in, l, r, 512, ChainSettings{48000.0});
    for (size_t i = 0; i < l.size(); ++i)
        ASSERT_TRUE(std::isfinite(l[i])) << i;
    EXPECT_GT(peak(l, 3000), 0.1);
}

TEST(SignalChain, HugeInfiniteAndNanInputsMatchTheOracle)
{
    for (const int factor : {4, 16}) {
        std::vector<double> inL = noise(6000, 0.5, 21), inR = noise(6000, 0.5, 22);
        const double inf = std::numeric_limits<double>::infinity();
        inL[700] = 1e300;
        inR[701] = -1e305;
        inL[2000] = inf;
        inR[2600] = -inf;
        inL[3500] = std::nan("");
        inR[3500] = 1e200;
        inL[4200] = -1048576.0; // the largest magnitude still taken for signal
        ChainSettings s;
        s.oversampling = factor;
        SideBySide chains;
        chains.run(inL, inR, 256, s);
        EXPECT_TRUE(chains.bothAgree()) << factor;
        EXPECT_TRUE(std::isfinite(chains.productL.back()) && std::isfinite(chains.productR.back()));
    }
}

// One absurd sample in music, as a careless host might send: within 100 ms
// the output is what the music alone gives, at both factors and the slowest
// high-pass (HPF 0); the other channel never notices.
TEST(SignalChain, OneAbsurdSampleIsForgottenWithinATenthOfASecond)
{
    const int at = 9000, tenth = 4800;
    const std::vector<double> music = noise(at + 3 * tenth, 0.3, 51);
    for (const int factor : {4, 16}) {
        for (const double absurd : {1e30, -1e20, 3e38, 1e10, 1048577.0}) {
            std::vector<double> spiked = music;
            spiked[at] = absurd;
            SideBySide chains(48000.0), clean(48000.0);
            chains.run(spiked, music, 512, ChainSettings{48000.0, factor});
            clean.run(music, music, 512, ChainSettings{48000.0, factor});
            for (size_t i = at + tenth; i < music.size(); ++i)
                ASSERT_LT(std::fabs(chains.productL[i] - clean.productL[i]), 1e-4) << absurd << " " << i; // −80 dB
            EXPECT_EQ(chains.productR, clean.productR) << factor << " " << absurd;
        }
    }
}

TEST(SignalChain, MatchesTheOracleWhenPositionsComeToRestAndMoveAgainAcrossARateChange)
{
    const double fs = 48000.0;
    const int frames = 5 * 48000;
    const std::vector<double> inL = noise(frames, 0.3, 31), inR = sine(frames, 0.2, 1000.0, fs);
    SideBySide chains;
    ChainSettings s;
    s.sampleRate = fs;
    chains.run(inL, inR, 500, s, [](int, int start, ChainSettings& s) {
        // At rest for four seconds (the sample rate changing on the way),
        // then every block moves every position.
        if (start >= 3 * 48000)
            s.sampleRate = 96000.0;
        if (start >= 4 * 48000) {
            s.highShelf = 0.3 + 0.001 * (start % 7);
            s.highPass = 0.2;
            s.lowPass = -0.05;
            s.midBell = 0.7;
            s.lowShelf = 0.1 + 0.001 * (start % 5);
        }
    });
    EXPECT_TRUE(chains.bothAgree());
}

TEST(SignalChain, InPlaceBuffersGiveTheSameOutputAsSeparateOnes)
{
    for (const int factor : {4, 16}) {
        const std::vector<double> inL = noise(3000, 0.6, 41), inR = noise(3000, 0.6, 42);
        ChainSettings s;
        s.oversampling = factor;
        s.highShelf = 0.9;
        SignalChain separate, inPlace;
        separate.reset(s.sampleRate);
        inPlace.reset(s.sampleRate);
        std::vector<double> outL, outR;
        runBlocks(separate, inL, inR, outL, outR, 1000, s);
        std::vector<double> l = inL, r = inR;
        for (int start = 0; start < 3000; start += 1000) {
            double* io[2] = {l.data() + start, r.data() + start};
            inPlace.process(io, io, 1000, s);
        }
        EXPECT_EQ(l, outL) << factor;
        EXPECT_EQ(r, outR) << factor;
    }
}

} // namespace

// A burst, then silence (-0.0 on the left) while the knobs move. Until the rule holds (judged on the oracle, the product's
// twin until then) the product is the oracle bit for bit; from then on,
// silence and the next sound alike, it is exactly what an oracle that never
// heard the burst puts out.
TEST(SignalChain, FallsSilentExactlyByItsRuleThenPlaysAsAChainThatHeardOnlySilence)
{
    const double fs = 48000.0;
    const int burst = 9000, silence = 4 * 48000, sound = 6000, frames = burst + silence + sound;
    std::vector<double> onlySilenceL(frames, -0.0), onlySilenceR(frames, 0.0), later = noise(sound, 0.5, 62);
    std::copy(later.begin(), later.end(), onlySilenceL.end() - sound);
    std::copy(later.begin(), later.end(), onlySilenceR.end() - sound);
    std::vector<double> inL = onlySilenceL, inR = onlySilenceR, loud = noise(burst, 0.9, 61);
    std::copy(loud.begin(), loud.end(), inL.begin());
    std::copy(loud.begin(), loud.end(), inR.begin());
    for (const int factor : {4, 16}) {
        ChainSettings s{fs, factor, 1.0, 0.8, 0.5};
        SideBySide chains(fs), fresh(fs);
        long flush = -1, quiet = 0, judged = 0;
        const auto knobs = [&](int, int start, ChainSettings& s) {
            // The rule, on what the oracle has put out up to this block.
            for (; judged < start; ++judged)
                quiet = inL[judged] == 0.0 && std::fabs(chains.oracleL[judged]) < SignalChain::kQuietLevel &&
                                std::fabs(chains.oracleR[judged]) < SignalChain::kQuietLevel
                            ? quiet + 1
                            : 0;
            if (flush < 0 && quiet >= std::ceil(SignalChain::kQuietSeconds * fs) &&
                chains.oracle.largestHistory() < SignalChain::kQuietLevel)
                flush = start;
            if (start > burst + 5 * 24000)
                s.lowShelf = 0.5 + 0.4 * std::sin(start * 1e-4);
        };
        chains.run(inL, inR, 300, s, knobs);
        fresh.run(onlySilenceL, onlySilenceR, 300, s, knobs);
        ASSERT_TRUE(flush > burst && flush < burst + 5 * 24000) << factor << " " << flush;
        using Samples = std::vector<double>;
        const auto part = [](const Samples& v, long from, long to) { return Samples(v.begin() + from, v.begin() + to); };
        EXPECT_TRUE(agrees(part(chains.productL, 0, flush), part(chains.oracleL, 0, flush))) << factor;
        EXPECT_TRUE(agrees(part(chains.productR, 0, flush), part(chains.oracleR, 0, flush))) << factor;
        EXPECT_TRUE(agrees(part(chains.productL, flush, frames), part(fresh.oracleL, flush, frames))) << factor;
        EXPECT_TRUE(agrees(part(chains.productR, flush, frames), part(fresh.oracleR, flush, frames))) << factor;
    }
}
