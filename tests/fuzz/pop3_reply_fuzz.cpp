// STAT replies and spooled LIST replies come from any server: the counts and sizes must be read
// from any bytes, with one size at most per line.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "mail/pop3_replies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    int messages = -7;
    std::int64_t octets = -7;
    quorlet::ParseStatCounts(input, messages, octets);

    std::istringstream in(input);
    std::vector<std::int64_t> sizes;
    quorlet::ParseListLines(in, sizes, 512);
    std::size_t lines = 1;
    for (char c : input) {
        lines += c == '\n' ? 1 : 0;
    }
    if (sizes.size() > lines || sizes.size() > 512) {
        std::abort();
    }
    return 0;
}
