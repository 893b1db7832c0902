// Lists the connection log (Fee.ini) of a date range as the log window shows it: one
// tab-separated row per period, then the window's title with the sums.
#include <cstdio>
#include <optional>

#include "cli/accounting_commands.h"
#include "cli/cli.h"
#include "dialup/online_log.h"
#include "dialup/online_recorder.h"

namespace quorlet::cli {
namespace {

std::optional<CalendarDate> ParseDate(const std::string& text) {
    CalendarDate date;
    char tail = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &date.year, &date.month,
                                         &date.day, &tail) != 3) {
        return std::nullopt;
    }
    if (!CivilTime{date.year, date.month, date.day}.IsValid()) {
        return std::nullopt;
    }
    return date;
}

}  // namespace

int LogCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        PrintError("usage: quorlet-cli log YYYY-MM-DD YYYY-MM-DD");
        return 2;
    }
    const std::optional<CalendarDate> from = ParseDate(args[0]);
    const std::optional<CalendarDate> to = ParseDate(args[1]);
    if (!from || !to) {
        PrintError("log: a date must be written YYYY-MM-DD");
        return 2;
    }
    const LogExtract log = ExtractLog(kFeeIniPath, *from, *to);
    switch (log.status) {
        case LogExtract::Status::InvalidRange:
            PrintError(kInvalidLogRange);
            return 1;
        case LogExtract::Status::NoRecordFile:
            PrintError(kNoRecordFile);
            return 1;
        case LogExtract::Status::Ok:
            break;
    }
    for (const LogRow& row : log.rows) {
        PrintLine(row.start + "\t" + row.end + "\t" + row.connected + "\t" + row.fee + "\t" +
                  row.name);
    }
    PrintLine(log.title);
    return 0;
}

}  // namespace quorlet::cli
