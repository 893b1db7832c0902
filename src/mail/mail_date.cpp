#include "mail/mail_date.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace quorlet {
namespace {

constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

constexpr bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The next blank-separated token, cut to maxBytes (the fixed fields of the date tokens).
std::string_view NextToken(std::string_view text, std::size_t& i, std::size_t maxBytes) {
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ') {
        ++i;
    }
    return text.substr(start, std::min(i - start, maxBytes));
}

}  // namespace

std::string FormatMailDate(const CivilTime& t) {
    const int month = t.month >= 1 && t.month <= 12 ? t.month : 1;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %d %02d:%02d:%02d", kDays[t.DayOfWeek()], t.day,
                  kMonths[month - 1], t.year, t.hour, t.minute, t.second);
    return text;
}

bool NormaliseDate(std::string_view raw, std::string& out) {
    out.assign(raw);
    std::size_t i = 0;
    while (i < raw.size() && raw[i] == ' ') {
        ++i;
    }
    if (i >= raw.size() || !IsLetter(raw[i])) {
        return false;
    }
    while (i < raw.size() && raw[i] != ',' && raw[i] != ' ') {
        ++i;
    }
    ++i;  // just after the comma or blank
    while (i < raw.size() && raw[i] == ' ') {
        ++i;
    }
    if (i >= raw.size() || raw[i] < '0' || raw[i] > '9') {
        return false;
    }
    const std::string_view day = NextToken(raw, i, 7);
    const std::string_view month = NextToken(raw, i, 7);
    const std::string_view year = NextToken(raw, i, 7);
    const std::string_view time = NextToken(raw, i, 15);

    std::string mapped(month);
    for (std::size_t m = 0; m < kMonths.size(); ++m) {
        if (month == kMonths[m]) {
            mapped = "-" + std::to_string(m + 1) + "-";
        }
    }
    out.assign(year);
    out += mapped;
    out += day;
    out += ' ';
    out += time;
    return true;
}

}  // namespace quorlet
