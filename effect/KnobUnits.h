// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "effect/KeldraParamIds.h"
#include "framework/IParamRecord.h"

/// The units KELDRA's parameters read in, wherever a value is shown or typed
/// (hosts' texts, the panel's readout and value entry): HF, MF and LF as
/// their band's gain in dB at a reference frequency, HI-PASS and LO-PASS as
/// their corner ("25 Hz", "3.1 kHz"), OUT in dB, the IN switch and the
/// oversampling factor in words. The circuit knobs' figures come from
/// AnalogResponse; typed figures (with or without the unit, "k" for kHz)
/// find the position on the parameter's step grid that gives the nearest
/// figure, and the state keeps storing positions. Text is UTF-8.
namespace KnobUnits {

/// [any] The text conversion of parameter `id`; it lives as long as the module.
const IParamRecord::TextUnits& For(KeldraParamId id) noexcept;

}  // namespace KnobUnits
