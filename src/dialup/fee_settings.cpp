#include "dialup/fee_settings.h"

#include <algorithm>
#include <cstdio>

#include "base/c_numbers.h"

namespace quorlet {
namespace {

std::string Format(const char* format, double value) {
    char text[400];  // "%0.2f" of the largest double fits
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::vector<std::string> Numbered(int last, const char* unit) {
    std::vector<std::string> names;
    for (int n = 1; n <= last; ++n) {
        char text[8];
        std::snprintf(text, sizeof text, "%02d", n);
        names.push_back(text + std::string(unit));
    }
    return names;
}

}  // namespace

FeeTotalsTexts FormatFeeTotals(double phoneFee, double netFee) {
    return {Format("%0.2f", phoneFee), Format("%.02f", netFee), Format("%.02f", phoneFee + netFee)};
}

FeeTotalsTexts ClearedFeeTotals() {
    return {"0", "0", "0"};
}

RateTexts RateTextsOf(const TariffTable& tariff) {
    return {Format("%0.2f", tariff.TelFare), std::to_string(tariff.TelUnit),
            Format("%0.2f", tariff.NetFare), std::to_string(tariff.NetUnit)};
}

void TakeRates(TariffTable& tariff, const RateTexts& texts) {
    tariff.TelFare = AtoF(texts.phoneFare);
    tariff.TelUnit = AtoI(texts.phoneUnit);
    tariff.NetFare = AtoF(texts.netFare);
    tariff.NetUnit = AtoI(texts.netUnit);
}

std::vector<std::string> MonthNames() {
    return Numbered(12, "月");
}

std::vector<std::string> DayNames() {
    return Numbered(31, "日");
}

std::string HolidayEntry(const std::string& month, const std::string& day) {
    return month.substr(0, 4) + day.substr(0, 4);
}

int SelectionAfterRemoval(int removed, int count) {
    if (count <= 0) {
        return -1;
    }
    return std::min(removed, count - 1);
}

}  // namespace quorlet
