#include "dialup/holidays.h"

#include <algorithm>

#include "base/c_numbers.h"
#include "base/profile_file.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"

namespace quorlet {
namespace {

constexpr const char* kMissing = "\x10";
constexpr std::size_t kValueBuffer = 10;
// A year has at most 366 days; a count far beyond that comes from a damaged file, and walking it
// to the end would stall the program on every priced second.
constexpr int kMaxHolidays = 10000;

std::vector<std::string> ReadEntries(const ProfileFile& file, const std::string& section) {
    std::vector<std::string> entries;
    const std::string total = file.GetString(section, "Total", kMissing, kValueBuffer);
    if (total.starts_with('\x10')) {
        return entries;
    }
    const int count = std::min(AtoI(total), kMaxHolidays);
    for (int i = 0; i < count; ++i) {
        const std::string entry =
            file.GetString(section, std::to_string(i), kMissing, kValueBuffer);
        if (entry != kMissing) {
            entries.push_back(entry);
        }
    }
    return entries;
}

}  // namespace

std::vector<std::string> ReadHolidayList(const std::string& holidayPath,
                                         const std::string& connectionName) {
    return ReadEntries(LoadProfileFile(holidayPath), connectionName);
}

bool WriteHolidayList(const std::string& holidayPath, const std::string& connectionName,
                      const std::vector<std::string>& entries) {
    std::optional<ProfileFile> file = LoadProfileFileForUpdate(holidayPath);
    if (!file) {
        return false;
    }
    file->SetString(connectionName, "Total", std::to_string(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        file->SetString(connectionName, std::to_string(i), entries[i]);
    }
    return WriteFileAtomically(holidayPath, file->Text());
}

bool IsHoliday(const std::string& holidayPath, const std::string& connectionName,
               const CivilTime& t) {
    for (const std::string& entry : ReadHolidayList(holidayPath, connectionName)) {
        const int month = AtoI(entry.substr(0, 2));
        const int day = entry.size() > 4 ? AtoI(entry.substr(4, 2)) : 0;
        if (month == t.month && day == t.day) {
            return true;
        }
    }
    return false;
}

bool IsWeekend(const CivilTime& t) {
    const int weekday = t.DayOfWeek();
    return weekday == 0 || weekday == 6;
}

}  // namespace quorlet
