// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// What the signal chain needs of the effect for one block: the working
/// values that parameter changes produce, and the host's sample rate. They
/// hold still for the whole block. [any] Value type.
struct ChainSettings {
    double sampleRate = 44100.0; ///< Hz
    int oversampling = 4;        ///< factor N: 16, or else 4
    double outputGain = 1.0;     ///< linear factor 10^(OUT/20)
    double highShelf = 0.5;      ///< GainH position 0 … 1
    double highPass = 0.0;       ///< HPF position 0 … 0.96
    double lowPass = 0.0;        ///< LPF position −0.3 … 0 (the chain negates it)
    double midBell = 0.5;        ///< GainM position 0.02 … 0.98
    double lowShelf = 0.5;       ///< GainL position 0 … 1
};
