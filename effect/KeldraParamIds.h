// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Parameter indices of KELDRA: the state order, the VST3 parameter ids and
/// the editor's control bindings.
enum class KeldraParamId : int {
    kOut = 0,           ///< output gain, dB
    kHighPass = 1,      ///< high-pass sweep position
    kLowPass = 2,       ///< low-pass sweep position (used negated)
    kGainHigh = 3,      ///< high-shelf position, 0.5 flat
    kGainMid = 4,       ///< mid-bell position, 0.5 flat
    kGainLow = 5,       ///< low-shelf position, 0.5 flat
    kBypass = 6,        ///< 1 passes the signal unprocessed
    kOversampling = 7,  ///< 0: factor 4, 1: factor 16 ("Oversampling")
};

constexpr int kKeldraParamCount = 8;

/// [any] The index of a parameter id.
constexpr int ToIndex(KeldraParamId id) noexcept
{
    return static_cast<int>(id);
}
