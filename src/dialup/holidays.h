// Holidays per connection, file ".\Holiday.ini": in the section of a phone-book entry, "Total"
// and the keys "0" ... "Total-1", each holding one month and day as the editing dialog writes
// it: "01月" followed by "01日". A holiday recurs every year.
#pragma once

#include <string>
#include <vector>

#include "base/civil_time.h"

namespace quorlet {

inline constexpr const char* kHolidayIniPath = ".\\Holiday.ini";

// The stored entries of connectionName in key order; none when "Total" is missing or not above 0.
std::vector<std::string> ReadHolidayList(const std::string& holidayPath,
                                         const std::string& connectionName);

// Writes "Total" and the keys "0", "1", ... in list order. Keys beyond the new count stay in the
// file and are never read. False when the file could not be written.
bool WriteHolidayList(const std::string& holidayPath, const std::string& connectionName,
                      const std::vector<std::string>& entries);

// True when the month and day of t equal an entry of connectionName's section: the month is
// atoi of the entry's first two bytes, the day atoi of the two bytes after the "月". The file is
// read on every call.
bool IsHoliday(const std::string& holidayPath, const std::string& connectionName,
               const CivilTime& t);

// Saturday or Sunday.
bool IsWeekend(const CivilTime& t);

}  // namespace quorlet
