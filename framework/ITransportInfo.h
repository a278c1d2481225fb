// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The host's transport as of the last process call.
struct ITransportInfo {
    double tempo = 0.0;             ///< beats per minute
    double samplePosition = 0.0;    ///< project time in samples
    double quarterNotePosition = 0.0;
    double lastBarPosition = 0.0;   ///< quarter notes
    double cycleStart = 0.0;        ///< quarter notes
    double cycleEnd = 0.0;          ///< quarter notes
    int numerator = 0;
    int denominator = 0;
    bool transportRunning = false;
    bool loopEnabled = false;
};
