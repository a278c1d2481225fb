// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <ctime>

/// [any] Local minus UTC in minutes, from the broken-down local and UTC forms
/// of one instant. Days apart across a year end count as one day.
int UtcOffsetMinutes(const std::tm& local, const std::tm& utc) noexcept;

/// [any] Writes an offset in minutes as a sign and "hhmm" ("-0130" for -90).
void FormatUtcOffset(int minutes, char* text, std::size_t capacity) noexcept;

/// A time stamp as text.
struct TraceTimeStamp {
    char text[48] = {};
};

/// [ui] The construction trace's time stamp of `when`: local time as
/// "%Y%m%d %H:%M " followed by the UTC offset, e.g. "20261206 10:35 +0100".
TraceTimeStamp MakeTraceTimeStamp(std::time_t when) noexcept;
