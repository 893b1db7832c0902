#include "platform/net.h"

namespace quorlet {
namespace {

bool AllDigits(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// 1 to 5 digits naming 1 to 65535; `port` is left alone otherwise.
bool ParsePort(std::string_view digits, std::uint16_t& port) {
    if (digits.empty() || digits.size() > 5 || !AllDigits(digits)) {
        return false;
    }
    unsigned long value = 0;
    for (char c : digits) {
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535) {
        return false;
    }
    port = static_cast<std::uint16_t>(value);
    return true;
}

}  // namespace

bool SplitHostPort(std::string_view text, std::string& host, std::uint16_t& port) {
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || close == 1) {
            return false;
        }
        const std::string_view rest = text.substr(close + 1);
        std::uint16_t given = port;
        if (!rest.empty() && (rest.front() != ':' || !ParsePort(rest.substr(1), given))) {
            return false;
        }
        host = std::string(text.substr(1, close - 1));
        port = given;
        return true;
    }
    host = std::string(text);
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon + 1 == text.size()) {
        return true;
    }
    if (text.find(':') != colon) {
        return true;  // an IPv6 address, which names a port only inside brackets
    }
    const std::string_view digits = text.substr(colon + 1);
    if (!AllDigits(digits)) {
        return true;  // not a port: the whole text is the host name
    }
    if (!ParsePort(digits, port)) {
        return false;
    }
    host = std::string(text.substr(0, colon));
    return true;
}

}  // namespace quorlet
