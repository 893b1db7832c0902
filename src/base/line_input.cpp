#include "base/line_input.h"

namespace quorlet {

bool ReadBoundedLine(std::istream& in, std::string& line, std::size_t maxBytes) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    if (buffer == nullptr) {
        return false;
    }
    bool any = false;
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return any;
        }
        any = true;
        if (c == '\n') {
            return true;
        }
        if (line.size() < maxBytes) {
            line += static_cast<char>(c);
        }
    }
}

std::string_view TrimSpace(std::string_view text) {
    while (!text.empty() && IsSpaceByte(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpaceByte(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace quorlet
