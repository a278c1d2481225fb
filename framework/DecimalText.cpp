// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/DecimalText.h"

#include <charconv>
#include <cmath>

namespace {

bool IsBlank(char c) noexcept
{
    return c == ' ' || c == '\t';
}

// The number at the start of `text` into `value`; the position after it, or
// null (with `value` untouched) when there is none.
const char* ReadLeadingDecimal(std::string_view text, double& value) noexcept
{
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && IsBlank(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    // from_chars would take a second sign itself: "--1" is no number.
    if (p == end || *p == '+' || *p == '-') return nullptr;
    double number = 0.0;
    const auto result = std::from_chars(p, end, number, std::chars_format::general);
    if (result.ec != std::errc()) return nullptr;
    if (!std::isfinite(number)) return nullptr;
    value = negative ? -number : number;
    return result.ptr;
}

} // namespace

bool ReadDecimal(std::string_view text, double& value) noexcept
{
    return ReadLeadingDecimal(text, value) != nullptr;
}

bool ReadWholeDecimal(std::string_view text, double& value) noexcept
{
    double number = 0.0;
    const char* p = ReadLeadingDecimal(text, number);
    if (p == nullptr) return false;
    const char* end = text.data() + text.size();
    while (p < end && IsBlank(*p)) ++p;
    if (p != end) return false;
    value = number;
    return true;
}
