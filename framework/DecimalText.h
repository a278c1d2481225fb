// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

/// [any] Reads the decimal number at the start of `text`: leading blanks and
/// one sign are allowed, '.' is the decimal point in every locale (a host may
/// run with a decimal comma), and whatever follows the number ("3.5 dB") is
/// ignored. Returns false, leaving `value` untouched, when the text does not
/// start with a number or the number is not finite: text that is not a
/// number must never become a parameter value.
bool ReadDecimal(std::string_view text, double& value) noexcept;

/// [any] As ReadDecimal, but the number must be the whole text, blanks
/// around it aside: "3.5dB" is refused.
bool ReadWholeDecimal(std::string_view text, double& value) noexcept;
