// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/DecimalText.h"

#include <charconv>
#include <cmath>

bool ReadDecimal(std::string_view text, double& value) noexcept
{
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    // from_chars would take a second sign itself: "--1" is no number.
    if (p == end || *p == '+' || *p == '-') return false;
    double number = 0.0;
    if (std::from_chars(p, end, number, std::chars_format::general).ec != std::errc()) return false;
    if (!std::isfinite(number)) return false;
    value = negative ? -number : number;
    return true;
}
