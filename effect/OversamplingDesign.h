// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Coefficients of the ten-pole low-pass that both interpolates and decimates
/// around the waveshaper: y = g·x + c1·y1 + … + c10·y10 at the oversampled
/// rate. Designed from a tenth-order Bessel prototype (cutoff 0.2 of the base
/// rate) by matching each analog pole s to the digital pole e^(s·w).
struct OversamplingDesign {
    /// Number of feedback taps.
    static constexpr int kTaps = 10;

    /// Input gain g, which makes the gain at 0 Hz one.
    double gain = 0.0;
    /// Feedback coefficients c1 … c10 at indices 0 … 9.
    double feedback[kTaps] = {};

    /// Prototype poles σ ± jω (normalised to −3.0103 dB at 1 rad/s), one
    /// conjugate pair per row {σ, ω}.
    static constexpr double kPrototypePairs[kTaps / 2][2] = {
        {-1.927619691324482, 0.2416234709451774},
        {-1.8421962445659017, 0.7272575977534836},
        {-1.6618102413500957, 1.221100218591516},
        {-1.3606922783857325, 1.73350574265843},
        {-0.8657569017089488, 2.2926048309837426},
    };
    /// Cutoff as a fraction of the base sample rate.
    static constexpr double kCutoff = 0.2;
    static constexpr double kTwoPi = 6.283185307179586;

    /// [audio] Designs the filter for an oversampling factor (4 or 16; any
    /// factor ≥ 1 works). Costs a few dozen exp/cos/sin calls; allocates nothing.
    static OversamplingDesign forFactor(int factor) noexcept;
};
