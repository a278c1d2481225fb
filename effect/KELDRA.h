// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/KeldraBinding.h"
#include "effect/KeldraParamIds.h"
#include "effect/SignalChain.h"

#include <cstdint>

/// The KELDRA effect: its eight parameters, and the signal chain whose
/// settings every part of a block derives afresh from the parameter values
/// (the base's whole set), so the sound never holds a second copy of a value
/// that could fall behind it.
class KELDRA : public KeldraBinding {
public:
    static constexpr int kOversamplingLow = 4;
    static constexpr int kOversamplingHigh = 16;

    /// [ui] Defines the parameters (oversampling keeps the initial range,
    /// step and default), makes Bypass the effect's own bypass (cross-faded
    /// by the base), builds and attaches the editor, then fills the preset
    /// slots from the factory library, "-" (the defaults) first.
    KELDRA();
    ~KELDRA() override;

    /// [ui, or audio for CLAP's reset] Processing is about to (re)start at
    /// the sample rate just set (a set-up, or any activation): clears the
    /// filter sections and the oversampling filters, and the smoothers start
    /// at their targets in the next block with frames. Never while processing.
    void OnReset() override;

    /// [audio] Runs the signal chain over `frames` stereo frames at the
    /// current sample rate, with the settings of the part's whole set; the
    /// oversampling filter is redesigned even for a block of 0 frames.
    void ProcessBlock(double** inputs, double** outputs, int frames) noexcept override;

    /// [audio] The chain's settings that the part's whole set of values gives.
    ChainSettings SettledChainSettings() const noexcept;

    /// [audio] True when the last ProcessBlock's output was exact silence
    /// because the chain slept through it (see SignalChain's silence rule).
    bool OutputSilent() const noexcept override { return mChain.sleptThrough(); }
    /// [any] How many samples at the current rate the output may go on
    /// after the input falls silent, before it is exact silence.
    int TailSamples() const noexcept override { return SignalChain::tailSamples(GetSampleRate()); }

private:
    void DefineParameters();
    void MakeFactoryPresets();

    // ---- signal state ------------------------------------------------------
    SignalChain mChain;
};
