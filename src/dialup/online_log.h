// The connection log ".\Fee.ini" as the log window reads it: section "Main" with "Total", and
// one section per period, "0" ... "Total-1", in time order, with "Start", "End", "Connected",
// "PhoneFee", "NetFee" and "Name".
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/civil_time.h"
#include "base/profile_file.h"

namespace quorlet {

inline constexpr const char* kInvalidLogRange = "选择的时间段无效 !";  // title "错误"
inline constexpr const char* kNoRecordFile = "记录文件不存在 !";       // title "提示"

// The record count as stored, or nullopt when the log has none. It is read with room for 19
// digits, so the log keeps growing past record "9999".
std::optional<std::string> ReadRecordCount(const ProfileFile& log);

// The stored count as a number: atoi's reading, 0 below 0, and at most kMaxRecordCount, so that
// a damaged count can be counted on without overflow.
inline constexpr std::int64_t kMaxRecordCount = 1000000000000000000;  // 10^18
std::int64_t RecordCount(const std::string& stored);

// The indices of the records the log holds below count, in order. Walking these rather than
// every index below the count keeps a damaged or huge count from stalling the reading; a
// missing record would be skipped anyway, its date reading as before any range.
std::vector<std::int64_t> PresentRecords(const ProfileFile& log, std::int64_t count);

// Where the next record goes: at the stored count, or after the last record present when a
// damaged count lies below it, so that no record is ever written over.
std::int64_t NextRecordIndex(const ProfileFile& log);

struct CalendarDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    auto operator<=>(const CalendarDate&) const = default;
    static CalendarDate Of(const CivilTime& t) { return {t.year, t.month, t.day}; }
};

// One row of the log window: went online, went offline, duration, fee (telephone plus
// Internet, "%0.2f"), connection.
struct LogRow {
    std::string start;
    std::string end;
    std::string connected;
    std::string fee;
    std::string name;
};

struct LogExtract {
    enum class Status { Ok, InvalidRange, NoRecordFile };
    Status status = Status::Ok;
    std::vector<LogRow> rows;
    double phoneSum = 0.0;
    double netSum = 0.0;
    std::string title;  // the window's new title; empty unless Ok
};

// "提取": the records whose start date lies from `from` to `to`, both included. Records before
// `from` are skipped; the first record after `to` ends the scan (records are in time order).
LogExtract ExtractLog(const std::string& feeLogPath, const CalendarDate& from,
                      const CalendarDate& to);

// "上网记录(电话费:%0.2f元 上网费:%0.2f元 小计:%0.2f元)".
std::string LogTitle(double phoneSum, double netSum);

// The billing period that contains today, for settlement day n: from the day after the last
// settlement day to the next one, both included. A settlement day beyond the end of a month
// stands for that month's last day; one below 1 counts as 1.
struct LogRange {
    CalendarDate from;
    CalendarDate to;
};
LogRange DefaultLogRange(const CivilTime& today, int settlementDay);

}  // namespace quorlet
