// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The material both chain benchmarks run: 48 kHz stereo in 512-frame blocks,
// about a second at a time, on signal (knobs at rest, or moving every block),
// on silence right after a loud burst, or on silence long after one (when
// the product chain sleeps).
#include "effect/SignalChain.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace ChainBenchCase {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr int kBlocksPerRun = 94; // about one second of audio
constexpr double kSecondsPerRun = kBlock * kBlocksPerRun / kRate;

enum class Material { Signal, SignalKnobsMoving, SilenceAfterBurst, SilenceAfterTail };

/// Seconds of silence after the burst before SilenceAfterTail is measured.
constexpr int kTailSeconds = 7;

/// Noise and a sine at a fixed seed per channel.
inline std::vector<double> Signal(int channel)
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

/// The settings every case starts from.
inline ChainSettings Settings(int oversampling)
{
    ChainSettings settings;
    settings.sampleRate = kRate;
    settings.oversampling = oversampling;
    settings.highShelf = 0.62;
    settings.highPass = 0.3;
    settings.lowPass = -0.1;
    settings.midBell = 0.4;
    settings.lowShelf = 0.55;
    return settings;
}

/// One chain (the product's or the oracle's) on one material.
template <class Chain>
class Run {
public:
    Run(int oversampling, Material material)
        : mMaterial(material), mLoud{Signal(0), Signal(1)}, mSilence(mLoud[0].size(), 0.0),
          mOutL(mLoud[0].size()), mOutR(mLoud[0].size())
    {
        mSettings = Settings(oversampling);
        mChain.reset(mSettings.sampleRate);
    }

    /// What has to happen before each measured second: the burst that the
    /// silence follows.
    void Prepare()
    {
        if (mMaterial == Material::SilenceAfterBurst)
            Second(mLoud[0], mLoud[1]);
        if (mMaterial == Material::SilenceAfterTail && !mTailDone) {
            Second(mLoud[0], mLoud[1]);
            for (int s = 0; s < kTailSeconds; ++s)
                Second(mSilence, mSilence);
            mTailDone = true;
        }
    }

    /// The measured second.
    void Measured()
    {
        const bool silent = mMaterial == Material::SilenceAfterBurst || mMaterial == Material::SilenceAfterTail;
        Second(silent ? mSilence : mLoud[0], silent ? mSilence : mLoud[1]);
    }

    const double* Output() const { return mOutL.data(); }

private:
    void Second(const std::vector<double>& left, const std::vector<double>& right)
    {
        for (int b = 0; b < kBlocksPerRun; ++b) {
            if (mMaterial == Material::SignalKnobsMoving) {
                // Every block turns every knob a little: the smoothers never
                // rest, so every sample gets its own coefficients.
                const double phase = 0.05 * b;
                mSettings.highShelf = 0.5 + 0.4 * std::sin(phase);
                mSettings.highPass = 0.3 + 0.2 * std::sin(1.3 * phase);
                mSettings.lowPass = -0.1 - 0.05 * std::sin(0.7 * phase);
                mSettings.midBell = 0.5 + 0.3 * std::sin(1.1 * phase);
                mSettings.lowShelf = 0.5 + 0.4 * std::cos(0.9 * phase);
            }
            const double* in[2] = {left.data() + b * kBlock, right.data() + b * kBlock};
            double* out[2] = {mOutL.data() + b * kBlock, mOutR.data() + b * kBlock};
            mChain.process(in, out, kBlock, mSettings);
        }
    }

    Material mMaterial;
    bool mTailDone = false;
    std::vector<double> mLoud[2];
    std::vector<double> mSilence;
    std::vector<double> mOutL, mOutR;
    ChainSettings mSettings;
    Chain mChain;
};

} // namespace ChainBenchCase
