#include "platform/net.h"

namespace quorlet {

bool SplitHostPort(std::string_view text, std::string& host, std::uint16_t& port) {
    host = std::string(text);
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon + 1 == text.size()) {
        return true;
    }
    const std::string_view digits = text.substr(colon + 1);
    unsigned long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return true;  // not a port: the whole text is the host name
        }
        if (value <= 65535) {
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
    }
    if (digits.size() > 5 || value == 0 || value > 65535) {
        return false;
    }
    host = std::string(text.substr(0, colon));
    port = static_cast<std::uint16_t>(value);
    return true;
}

}  // namespace quorlet
