#include "base/c_numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>

namespace quorlet {
namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    return i;
}

template <typename T>
T ParseClamped(std::string_view text, T lowest, T highest) {
    std::size_t i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    T value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        const T digit = text[i] - '0';
        if (!negative) {
            if (value > (highest - digit) / 10) {
                return highest;
            }
            value = value * 10 + digit;
        } else {
            if (value < (lowest + digit) / 10) {
                return lowest;
            }
            value = value * 10 - digit;
        }
    }
    return value;
}

}  // namespace

int AtoI(std::string_view text) {
    return ParseClamped<int>(text, INT_MIN, INT_MAX);
}

std::int64_t AtoI64(std::string_view text) {
    return ParseClamped<std::int64_t>(text, INT64_MIN, INT64_MAX);
}

double AtoF(std::string_view text) {
    std::size_t i = SkipSpace(text);
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                ++j;
            }
            end = j;
        }
    }
    // from_chars takes no leading '+'.
    std::string number(text.substr(start, end - start));
    if (number[0] == '+') {
        number.erase(0, 1);
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large gives infinity and too small gives zero, as strtod would.
        const bool negative = number[0] == '-';
        const bool tiny =
            number.find_first_of("123456789") != std::string::npos &&
            (number.find("e-") != std::string::npos || number.find("E-") != std::string::npos);
        if (tiny) {
            return negative ? -0.0 : 0.0;
        }
        return negative ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

}  // namespace quorlet
