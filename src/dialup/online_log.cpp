#include "dialup/online_log.h"

#include <algorithm>
#include <cstdio>

#include "base/c_numbers.h"
#include "platform/profile_files.h"

namespace quorlet {
namespace {

constexpr const char* kMissing = "\x10";
constexpr std::size_t kCountBuffer = 20;
constexpr std::size_t kFieldBuffer = 20;
constexpr std::size_t kNameBuffer = 100;

// The settlement day of a month: n, or the month's last day when the month is shorter.
CalendarDate SettlementIn(int year, int month, int n) {
    return {year, month, std::min(n, CivilTime::DaysInMonth(year, month))};
}

// A record's section name: a decimal index as the log writes it, "0" or digits without a
// leading zero, below kMaxRecordCount.
std::optional<std::int64_t> RecordIndex(const std::string& section) {
    constexpr std::size_t kMaxDigits = 18;
    if (section.empty() || section.size() > kMaxDigits ||
        (section[0] == '0' && section.size() > 1)) {
        return std::nullopt;
    }
    std::int64_t index = 0;
    for (const char c : section) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        index = index * 10 + (c - '0');
    }
    return index;
}

CalendarDate NextDay(const CalendarDate& date) {
    const CivilTime next = CivilTime{date.year, date.month, date.day}.AddDays(1);
    return CalendarDate::Of(next);
}

}  // namespace

std::optional<std::string> ReadRecordCount(const ProfileFile& log) {
    std::string total = log.GetString("Main", "Total", kMissing, kCountBuffer);
    if (total.starts_with('\x10')) {
        return std::nullopt;
    }
    return total;
}

std::int64_t RecordCount(const std::string& stored) {
    return std::clamp<std::int64_t>(AtoI64(stored), 0, kMaxRecordCount);
}

std::vector<std::int64_t> PresentRecords(const ProfileFile& log, std::int64_t count) {
    std::vector<std::int64_t> indices;
    for (const std::string& section : log.SectionNames()) {
        const std::optional<std::int64_t> index = RecordIndex(section);
        if (index && *index < count) {
            indices.push_back(*index);
        }
    }
    std::sort(indices.begin(), indices.end());
    return indices;
}

std::int64_t NextRecordIndex(const ProfileFile& log) {
    const std::optional<std::string> total = ReadRecordCount(log);
    std::int64_t next = total ? RecordCount(*total) : 0;
    const std::vector<std::int64_t> present = PresentRecords(log, kMaxRecordCount);
    if (!present.empty()) {
        next = std::max(next, present.back() + 1);
    }
    return next;
}

LogExtract ExtractLog(const std::string& feeLogPath, const CalendarDate& from,
                      const CalendarDate& to) {
    LogExtract result;
    if (to < from) {
        result.status = LogExtract::Status::InvalidRange;
        return result;
    }
    const ProfileFile log = LoadProfileFile(feeLogPath);
    const std::optional<std::string> total = ReadRecordCount(log);
    if (!total) {
        result.status = LogExtract::Status::NoRecordFile;
        return result;
    }
    for (const std::int64_t i : PresentRecords(log, RecordCount(*total))) {
        const std::string section = std::to_string(i);
        LogRow row;
        row.start = log.GetString(section, "Start", kMissing, kFieldBuffer);
        const std::string_view start = row.start;
        const CalendarDate date{AtoI(start.substr(0, 4)),
                                AtoI(start.substr(std::min<std::size_t>(5, start.size()), 2)),
                                AtoI(start.substr(std::min<std::size_t>(8, start.size()), 2))};
        if (date < from) {
            continue;
        }
        if (to < date) {
            break;
        }
        row.end = log.GetString(section, "End", kMissing, kFieldBuffer);
        row.connected = log.GetString(section, "Connected", kMissing, kFieldBuffer);
        const double phone = AtoF(log.GetString(section, "PhoneFee", kMissing, kFieldBuffer));
        const double net = AtoF(log.GetString(section, "NetFee", kMissing, kFieldBuffer));
        char fee[64];
        std::snprintf(fee, sizeof fee, "%0.2f", phone + net);
        row.fee = fee;
        row.name = log.GetString(section, "Name", kMissing, kNameBuffer);
        result.phoneSum += phone;
        result.netSum += net;
        result.rows.push_back(std::move(row));
    }
    result.title = LogTitle(result.phoneSum, result.netSum);
    return result;
}

std::string LogTitle(double phoneSum, double netSum) {
    char title[160];
    std::snprintf(title, sizeof title, "上网记录(电话费:%0.2f元 上网费:%0.2f元 小计:%0.2f元)",
                  phoneSum, netSum, phoneSum + netSum);
    return title;
}

LogRange DefaultLogRange(const CivilTime& today, int settlementDay) {
    const int n = std::max(settlementDay, 1);
    int year = today.year;
    int month = today.month;
    if (today.day > SettlementIn(year, month, n).day) {
        // Past this month's settlement day: the period runs into the next month.
        const CalendarDate from = NextDay(SettlementIn(year, month, n));
        if (++month > 12) {
            month = 1;
            ++year;
        }
        return {from, SettlementIn(year, month, n)};
    }
    const CalendarDate to = SettlementIn(year, month, n);
    if (--month < 1) {
        month = 12;
        --year;
    }
    return {NextDay(SettlementIn(year, month, n)), to};
}

}  // namespace quorlet
