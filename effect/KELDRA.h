// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/KeldraBinding.h"
#include "effect/KeldraParamIds.h"
#include "effect/ParamBypassSource.h"
#include "effect/SignalChain.h"
#include "platform/RelaxedAtomic.h"

#include <cstdint>

/// The KELDRA effect: its eight parameters and the working values they drive.
///
/// Constructed on the host's user-interface thread. OnParamChanged may run on
/// the audio thread (parameter queues) or the user-interface thread (editor,
/// state restore) at the same time; the working values are atomics, read
/// once at the start of every block, so neither thread ever waits.
class KELDRA : public KeldraBinding {
public:
    static constexpr int kOversamplingLow = 4;
    static constexpr int kOversamplingHigh = 16;

    /// [ui] Defines the parameters (oversampling keeps the initial range,
    /// step and default), builds and attaches the editor, then makes the
    /// default preset "-".
    KELDRA();
    ~KELDRA() override;

    /// [ui, or audio for CLAP's reset] Processing is about to (re)start at
    /// the sample rate just set (a set-up, or any activation): clears the
    /// filter sections and the oversampling filters, and the smoothers start
    /// at their targets in the next block with frames. Never while processing.
    void OnReset() override;

    /// [any] Updates the working value driven by `paramIdx`; takes no lock.
    void OnParamChanged(int paramIdx) override;

    /// [audio] Runs the signal chain over `frames` stereo
    /// frames at the current sample rate; the oversampling filter is
    /// redesigned even for a block of 0 frames.
    void ProcessBlock(double** inputs, double** outputs, int frames) noexcept override;

    /// [audio] True when the last ProcessBlock's output was exact silence
    /// because the chain slept through it (see SignalChain's silence rule).
    bool OutputSilent() const noexcept override { return mChain.sleptThrough(); }
    /// [any] How many samples at the current rate the output may go on
    /// after the input falls silent, before it is exact silence.
    int TailSamples() const noexcept override { return SignalChain::tailSamples(GetSampleRate()); }

    // ---- working values [any] -------------------------------------------------

    /// Linear output gain factor, 10^(OUT/20).
    double GetOutputGainFactor() const noexcept { return mOutputGainFactor; }
    double GetHighShelfTarget() const noexcept { return mHighShelfTarget; }
    double GetHighPassTarget() const noexcept { return mHighPassTarget; }
    double GetLowShelfTarget() const noexcept { return mLowShelfTarget; }
    double GetMidBellTarget() const noexcept { return mMidBellTarget; }
    double GetLowPassTarget() const noexcept { return mLowPassTarget; }
    /// 4 or 16, applied from the next block on.
    std::int32_t GetOversamplingFactor() const noexcept { return mOversamplingFactor; }

private:
    void DefineParameters();
    /// Stores `workingValue(param value)` into `target`, again while the
    /// value changes meanwhile, so that concurrent changes never leave a
    /// working value behind its parameter.
    template <typename T, typename Derive>
    void Follow(int paramIdx, RelaxedAtomic<T>& target, Derive derive) noexcept;

    // Until the first preset restore these are placeholders, not the defaults.
    RelaxedAtomic<double> mOutputGainFactor = 0.0;
    RelaxedAtomic<double> mHighShelfTarget = 0.5;
    RelaxedAtomic<double> mHighPassTarget = 0.0;
    RelaxedAtomic<double> mLowShelfTarget = 0.0;
    RelaxedAtomic<double> mMidBellTarget = 0.0;
    RelaxedAtomic<double> mLowPassTarget = 0.0;
    RelaxedAtomic<std::int32_t> mOversamplingFactor = kOversamplingLow;

    // ---- signal state ------------------------------------------------------
    /// [audio] The working values of the last block that read them whole.
    ChainSettings mSettledSettings;
    SignalChain mChain;
    ParamBypassSource mBypassSource;
};
