// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/TraceTimeStamp.h"

#include <cstdio>
#include <cstdlib>

int UtcOffsetMinutes(const std::tm& local, const std::tm& utc) noexcept
{
    int offset = (local.tm_hour * 60 + local.tm_min) - (utc.tm_hour * 60 + utc.tm_min);
    int dayDiff = local.tm_yday - utc.tm_yday;
    // 31 Dec against 1 Jan shows as hundreds of days apart: that is one day.
    if (dayDiff >= 2) {
        dayDiff = -1;
    } else if (dayDiff <= -2) {
        dayDiff = 1;
    }
    return offset + 1440 * dayDiff;
}

void FormatUtcOffset(int minutes, char* text, std::size_t capacity) noexcept
{
    const char sign = minutes < 0 ? '-' : '+';
    const int magnitude = std::abs(minutes);
    std::snprintf(text, capacity, "%c%02d%02d", sign, magnitude / 60, magnitude % 60);
}

TraceTimeStamp MakeTraceTimeStamp(std::time_t when) noexcept
{
    TraceTimeStamp stamp;
    std::tm local{};
    std::tm utc{};
    if (!localtime_r(&when, &local) || !gmtime_r(&when, &utc)) {
        return stamp;
    }
    const std::size_t used = std::strftime(stamp.text, sizeof stamp.text, "%Y%m%d %H:%M ", &local);
    FormatUtcOffset(UtcOffsetMinutes(local, utc), stamp.text + used, sizeof stamp.text - used);
    return stamp;
}
