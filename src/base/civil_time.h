// Local wall-clock time with one-second resolution, as the program records and prices it.
// Arithmetic is on the calendar itself (no time zone), so a day step is always one calendar
// day and no daylight-saving change can move a time.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace quorlet {

struct CivilTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const CivilTime&) const = default;

    static bool IsLeapYear(int year);
    static int DaysInMonth(int year, int month);
    bool IsValid() const;

    // Days since 1970-01-01 (negative before it).
    std::int64_t DayNumber() const;
    // 0 = Sunday ... 6 = Saturday.
    int DayOfWeek() const;
    // Seconds since 1970-01-01 00:00:00 on the same calendar; differences are durations.
    std::int64_t Seconds() const;

    static CivilTime FromSeconds(std::int64_t seconds);
    static CivilTime FromDayNumber(std::int64_t days);

    CivilTime AddSeconds(std::int64_t seconds) const { return FromSeconds(Seconds() + seconds); }
    CivilTime AddDays(std::int64_t days) const { return AddSeconds(days * 86400); }

    // "YYYY-MM-DD HH:MM:SS".
    std::string ToString() const;
};

}  // namespace quorlet
