// Prices one online period with the connection's tariff (Fare.ini) and holidays (Holiday.ini)
// as the recorder would, and prints the two fees and the minute counts they were charged for.
#include <cstdio>
#include <optional>

#include "base/civil_time.h"
#include "cli/accounting_commands.h"
#include "cli/cli.h"
#include "dialup/fee_calculator.h"

namespace quorlet::cli {
namespace {

// "YYYY-MM-DD HH:MM:SS", exactly, as the connection log writes it.
std::optional<CivilTime> ParseTime(const std::string& text) {
    CivilTime t;
    char tail = 0;
    if (text.size() != 19 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour,
                    &t.minute, &t.second, &tail) != 6) {
        return std::nullopt;
    }
    if (!t.IsValid()) {
        return std::nullopt;
    }
    return t;
}

}  // namespace

int PriceCommand(const std::vector<std::string>& args) {
    const bool noRound = args.size() == 4 && args[3] == "--no-round";
    if (args.size() != 3 && !noRound) {
        PrintError(
            "usage: quorlet-cli price CONNECTION \"YYYY-MM-DD HH:MM:SS\" "
            "\"YYYY-MM-DD HH:MM:SS\" [--no-round]");
        return 2;
    }
    const std::optional<CivilTime> start = ParseTime(args[1]);
    const std::optional<CivilTime> end = ParseTime(args[2]);
    if (!start || !end) {
        PrintError("price: a time must be written YYYY-MM-DD HH:MM:SS");
        return 2;
    }
    if (*end < *start) {
        PrintError("price: the period ends before it starts");
        return 2;
    }
    FeeCalculator fees;
    fees.m_strConnName = args[0];
    fees.m_bRateRounding = !noRound;
    fees.LoadTariff(args[0]);
    const PeriodPrice price = fees.PricePeriod(*start, *end);
    char line[160];
    std::snprintf(line, sizeof line, "phone=%0.2f net=%0.2f g=%d t=%d w=%d d=%d", price.phoneFee,
                  price.netFee, price.g, price.t, price.w, price.d);
    PrintLine(line);
    return 0;
}

}  // namespace quorlet::cli
