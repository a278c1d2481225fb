// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <string>

/// Units of the fixed UTF-16 texts at the VST3 boundary (terminator included).
constexpr int kWideTextUnits = 128;

/// [any] Widens 8-bit text unit by unit into `dst` (kWideTextUnits units,
/// zero-filled behind the text, at most 127 characters kept); a two-byte
/// UTF-8 character becomes its one unit.
void WidenText(const char* src, Steinberg::Vst::String128 dst) noexcept;

/// [ui] Narrows UTF-16 text to its low bytes, stopping at the terminating
/// zero or after kWideTextUnits units.
std::string NarrowText16(const Steinberg::Vst::TChar* src);
