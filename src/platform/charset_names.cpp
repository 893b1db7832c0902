#include <array>

#include "platform/charsets.h"

namespace quorlet {

std::string NormalizeCharsetName(std::string_view name) {
    while (!name.empty() && (name.front() == ' ' || name.front() == '"' || name.front() == '\'')) {
        name.remove_prefix(1);
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '"' || name.back() == '\'')) {
        name.remove_suffix(1);
    }
    std::string out(name);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool IsGbkFamily(std::string_view name) {
    static constexpr std::array<std::string_view, 9> kNames = {
        "gb2312", "gbk",      "gb18030",  "cp936",      "x-gbk",
        "euc-cn", "x-euc-cn", "csgb2312", "windows-936"};
    for (std::string_view n : kNames) {
        if (n == name) {
            return true;
        }
    }
    return false;
}

}  // namespace quorlet
