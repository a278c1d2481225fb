// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/TraceTimeStamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

std::string Offset(int minutes)
{
    char text[16];
    FormatUtcOffset(minutes, text, sizeof text);
    return text;
}

std::tm At(int yday, int hour, int minute)
{
    std::tm t{};
    t.tm_yday = yday;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

// Sets (or, given nullptr, removes) the TZ variable and rereads it.
void SetZone(const char* zone)
{
#ifdef _WIN32
    _putenv_s("TZ", zone ? zone : "");
    _tzset();
#else
    if (zone)
        setenv("TZ", zone, 1);
    else
        unsetenv("TZ");
    tzset();
#endif
}

// The C library's spelling of a zone 90 minutes behind UTC.
#ifdef _WIN32
constexpr const char* kZoneBehindUtc = "XYZ1:30";
#else
constexpr const char* kZoneBehindUtc = "<-0130>1:30";
#endif

}  // namespace

TEST(TraceTimeStamp, OffsetsAreWrittenAsSignHoursAndMinutes)
{
    EXPECT_EQ(Offset(-90), "-0130");
    EXPECT_EQ(Offset(60), "+0100");
    EXPECT_EQ(Offset(0), "+0000");
    EXPECT_EQ(Offset(345), "+0545");
    EXPECT_EQ(Offset(-720), "-1200");
}

TEST(TraceTimeStamp, OffsetCountsWholeDaysAndTheYearWrap)
{
    EXPECT_EQ(UtcOffsetMinutes(At(100, 10, 35), At(100, 9, 35)), 60);
    EXPECT_EQ(UtcOffsetMinutes(At(100, 0, 30), At(99, 23, 0)), 90);    // local is a day ahead
    EXPECT_EQ(UtcOffsetMinutes(At(99, 22, 30), At(100, 0, 0)), -90);   // local is a day behind
    EXPECT_EQ(UtcOffsetMinutes(At(0, 0, 30), At(364, 23, 0)), 90);     // 1 Jan local, 31 Dec UTC
    EXPECT_EQ(UtcOffsetMinutes(At(365, 22, 30), At(0, 0, 0)), -90);    // 31 Dec (leap) local, 1 Jan UTC
}

TEST(TraceTimeStamp, StampIsLocalTimeFollowedByTheOffset)
{
    // A zone 90 minutes behind UTC, restored afterwards for the other tests.
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    SetZone(kZoneBehindUtc);
    const std::string stamp = MakeTraceTimeStamp(1765017300).text;  // 2025-12-06 10:35 UTC
    SetZone(saved ? previous.c_str() : nullptr);
    EXPECT_EQ(stamp, "20251206 09:05 -0130");
}
