#include "mail/pop3_replies.h"

#include <string>

#include "base/c_numbers.h"
#include "base/line_input.h"

namespace quorlet {
namespace {

constexpr std::size_t kMaxListLine = 4096;

bool IsTabOrBlank(char c) {
    return c == ' ' || c == '\t';
}

// Where the number after position `from` ends: white space skipped, then sign and digits.
std::size_t NumberEnd(std::string_view text, std::size_t from) {
    std::size_t i = from;
    while (i < text.size() && IsSpaceByte(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
    }
    return i;
}

std::size_t FindTabOrBlank(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (IsTabOrBlank(text[i])) {
            return i;
        }
    }
    return std::string_view::npos;
}

// One scan line: trimmed, a stray CR inside costs the last character (the rule the LIST spool
// reader has always had), trimmed again; the number after the first blank is the size.
void ReadScanLine(std::string_view line, std::vector<std::int64_t>& sizes, std::size_t maxSizes) {
    if (sizes.size() >= maxSizes) {
        return;
    }
    line = TrimSpace(line);
    if (line.find('\r') != std::string_view::npos) {
        line.remove_suffix(1);
    }
    line = TrimSpace(line);
    const std::size_t blank = line.find(' ');
    if (blank != std::string_view::npos) {
        sizes.push_back(AtoI64(line.substr(blank + 1)));
    }
}

bool IsFirstScanLine(std::string_view line) {
    if (line.size() < 2 || line[0] != '1' || line[1] != ' ') {
        return false;
    }
    return line.find_first_not_of("0123456789 ") == std::string_view::npos;
}

}  // namespace

void ParseStatCounts(std::string_view reply, int& messages, std::int64_t& octets) {
    const std::size_t first = FindTabOrBlank(reply, 0);
    if (first == std::string_view::npos) {
        return;
    }
    messages = AtoI(reply.substr(first + 1));
    const std::size_t second = FindTabOrBlank(reply, NumberEnd(reply, first + 1));
    if (second == std::string_view::npos) {
        return;
    }
    octets = AtoI64(reply.substr(second + 1));
}

void ParseListLines(std::istream& in, std::vector<std::int64_t>& sizes, std::size_t maxSizes) {
    std::string line;
    if (!ReadBoundedLine(in, line, kMaxListLine)) {
        return;
    }
    if (IsFirstScanLine(TrimSpace(line))) {
        ReadScanLine(line, sizes, maxSizes);
    }
    while (sizes.size() < maxSizes && ReadBoundedLine(in, line, kMaxListLine)) {
        ReadScanLine(line, sizes, maxSizes);
    }
}

}  // namespace quorlet
