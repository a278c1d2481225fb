// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ReferenceChain.h"
#include "effect/ChainSettings.h"
#include "effect/SignalChain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

/// Helpers shared by the signal-chain tests: test signals and a driver that runs any chain over stereo buffers in blocks.
namespace chaintest {

constexpr double kPi = 3.141592653589793;

/// Deterministic white noise in −amplitude … amplitude.
inline std::vector<double> noise(int frames, double amplitude, std::uint64_t seed)
{
    std::vector<double> v(frames);
    for (double& x : v) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        x = amplitude * ((static_cast<double>(seed >> 11) / 9007199254740992.0) * 2.0 - 1.0);
    }
    return v;
}

inline std::vector<double> sine(int frames, double amplitude, double hz, double fs, double phase = 0.0)
{
    std::vector<double> v(frames);
    for (int i = 0; i < frames; ++i)
        v[i] = amplitude * std::sin(2.0 * kPi * hz * i / fs + phase);
    return v;
}

/// Runs `chain` over whole stereo buffers in blocks of `block` frames.
template <class Chain>
void runBlocks(Chain& chain, const std::vector<double>& inL, const std::vector<double>& inR, std::vector<double>& outL,
               std::vector<double>& outR, int block, const ChainSettings& settings)
{
    const int frames = static_cast<int>(inL.size());
    outL.assign(frames, 0.0);
    outR.assign(frames, 0.0);
    for (int start = 0; start < frames; start += block) {
        const int n = std::min(block, frames - start);
        const double* in[2] = {inL.data() + start, inR.data() + start};
        double* out[2] = {outL.data() + start, outR.data() + start};
        chain.process(in, out, n, settings);
    }
}

/// Agreement with the oracle: bit for bit, every sample.
inline ::testing::AssertionResult agrees(const std::vector<double>& product, const std::vector<double>& oracle)
{
    for (size_t i = 0; i < product.size(); ++i)
        if (std::memcmp(&product[i], &oracle[i], sizeof(double)) != 0)
            return ::testing::AssertionFailure() << "sample " << i << ": product " << product[i] << " oracle "
                                                 << oracle[i];
    return ::testing::AssertionSuccess();
}

/// The product chain and the oracle, fed the same blocks side by side.
struct SideBySide {
    SignalChain product;
    ReferenceChain oracle;
    std::vector<double> productL, productR, oracleL, oracleR;

    /// Both set up at `sampleRate` Hz, as a host sets up before processing.
    explicit SideBySide(double sampleRate = ChainSettings{}.sampleRate) { reset(sampleRate); }
    void reset(double sampleRate)
    {
        product.reset(sampleRate);
        oracle.reset(sampleRate);
    }
    /// Runs both over the inputs in blocks of `block` frames; `change`, when
    /// given, may alter the settings before each block (block index, first frame).
    void run(const std::vector<double>& inL, const std::vector<double>& inR, int block, ChainSettings settings,
             const std::function<void(int, int, ChainSettings&)>& change = {})
    {
        const int frames = static_cast<int>(inL.size());
        productL.assign(frames, 0.0);
        productR.assign(frames, 0.0);
        oracleL.assign(frames, 0.0);
        oracleR.assign(frames, 0.0);
        for (int start = 0, index = 0; start < frames; start += block, ++index) {
            if (change)
                change(index, start, settings);
            const int n = std::min(block, frames - start);
            const double* in[2] = {inL.data() + start, inR.data() + start};
            double* p[2] = {productL.data() + start, productR.data() + start};
            double* o[2] = {oracleL.data() + start, oracleR.data() + start};
            product.process(in, p, n, settings);
            oracle.process(in, o, n, settings);
        }
    }
    ::testing::AssertionResult bothAgree() const
    {
        ::testing::AssertionResult left = agrees(productL, oracleL);
        return left ? agrees(productR, oracleR) : left;
    }
};

/// Peak of v from `from` on.
inline double peak(const std::vector<double>& v, int from)
{
    double p = 0.0;
    for (int i = from; i < static_cast<int>(v.size()); ++i)
        p = std::max(p, std::fabs(v[i]));
    return p;
}

} // namespace chaintest
