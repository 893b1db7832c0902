// The rules of the fee settings windows: the accumulated fees as the fee window shows them, the
// rates as the rate window edits them, the month and day lists of the holidays and the selection
// after a holiday is removed. The windows only move these values in and out of their controls.
#pragma once

#include <string>
#include <vector>

#include "dialup/tariff.h"

namespace quorlet {

// The fee window without any phone-book entry; it closes after saying so (program's title, stop
// icon).
inline constexpr const char* kFeeNeedsDialUpEntry = "你必须先建立拨号网络连接 !";
inline constexpr const char* kFeeSettingsSaved = "当前费用设置已保存 !";  // "提示"
// Title "错误": "保存设置" could not write the tariff file, so nothing was saved.
inline constexpr const char* kFeeSettingsNotSaved = "无法写入费率文件,当前费用设置未保存 !";
inline constexpr const char* kAskClearTotals = "是否清除累计费用记录 ?";  // "提示", Yes/No
// Title "错误": "确定" of the discount-time window could not write the holiday file; the window
// stays open, so that nothing the user sees as kept is lost.
inline constexpr const char* kHolidaysNotSaved = "无法写入节日文件,特价节日未保存 !";

// The ranges of the discount-time fields (their up-down controls) and their lengths.
inline constexpr int kHourHigh = 23;
inline constexpr int kHourChars = 2;
inline constexpr int kPercentHigh = 100;
inline constexpr int kPercentChars = 3;

// The three read-only totals of the fee window.
struct FeeTotalsTexts {
    std::string phone;
    std::string net;
    std::string total;
};
FeeTotalsTexts FormatFeeTotals(double phoneFee, double netFee);
// What the totals show once "清除" was confirmed.
FeeTotalsTexts ClearedFeeTotals();

// The four fields of the rate window: fares as "%0.2f", units in decimal.
struct RateTexts {
    std::string phoneFare;
    std::string phoneUnit;
    std::string netFare;
    std::string netUnit;
};
RateTexts RateTextsOf(const TariffTable& tariff);
// Takes the fields back as atof and atoi read them, unchecked: a fare becomes the two-decimal
// value the field showed, even when it was not touched.
void TakeRates(TariffTable& tariff, const RateTexts& texts);

// "01月" ... "12月" and "01日" ... "31日".
std::vector<std::string> MonthNames();
std::vector<std::string> DayNames();

// The holiday entry of a month and a day as the lists show them: at most four bytes of each,
// so "01月" and "01日" give the eight-byte "01月01日". Neither duplicates nor impossible dates
// are refused.
std::string HolidayEntry(const std::string& month, const std::string& day);

// The entry to select after the one at `removed` went from a list now holding `count` entries:
// the one now at the same place, or the last when the removed one was the last; -1 when the list
// is empty.
int SelectionAfterRemoval(int removed, int count);

}  // namespace quorlet
