// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// What each circuit knob of KELDRA does, in decibels and hertz, computed
/// from the analog prototypes of its filter sections: the same polynomial
/// coefficients the chain turns into digital ones. The prototype is the
/// circuit itself, so these figures do not depend on the session's sample
/// rate (the digital sections follow them closely below about 10 kHz).
///
/// Positions are parameter values as the effect defines them (GainH 0.5 is
/// flat, LPF runs from 0 down to −0.3). Every function is monotonic over its
/// knob's range. [any] Pure functions; they allocate nothing.
namespace AnalogResponse {

/// Where the band knobs are read. HF at 10 kHz, on the shelf's plateau;
/// MF at the bell's centre, where full boost and full cut are largest; LF
/// at 30 Hz, on the shelf's plateau above the lowest octave.
constexpr double kHighShelfReferenceHz = 10000.0;
constexpr double kMidBellReferenceHz = 2500.0;
constexpr double kLowShelfReferenceHz = 30.0;

/// Gain of the high shelf at kHighShelfReferenceHz for GainH `position`, dB.
double HighShelfGainDb(double position) noexcept;
/// Gain of the mid bell at kMidBellReferenceHz for GainM `position`, dB.
double MidBellGainDb(double position) noexcept;
/// Gain of the low shelf at kLowShelfReferenceHz for GainL `position`, dB.
double LowShelfGainDb(double position) noexcept;

/// Corner of the high-pass for HPF `position`: the lowest frequency at which
/// the response has risen to −3 dB (half power), Hz. Both sweep filters pass
/// their band at unity, so −3 dB is the usual corner of a filter, measured
/// from the level the band keeps; the high-pass rises about 1 dB above unity
/// just above its corner, which is why the corner is the first crossing.
double HighPassCornerHz(double position) noexcept;
/// Corner of the low-pass for LPF `position` (0 … −0.3): the lowest
/// frequency at which the response has fallen to −3 dB, Hz.
double LowPassCornerHz(double position) noexcept;

}  // namespace AnalogResponse
