// Reading the numbers of POP3 replies: the STAT counts and the LIST scan lines.
#pragma once

#include <cstdint>
#include <istream>
#include <string_view>
#include <vector>

namespace quorlet {

// "+OK 5 12345": the number after the first tab or blank is the message count, the number after
// the next one the mailbox size in octets. A missing field leaves its value as it was.
void ParseStatCounts(std::string_view reply, int& messages, std::int64_t& octets);

// The spooled LIST reply: the rest of the status line first (passed over unless it is already
// the scan line of message 1, "1 120"), then one scan line "number size" per message. Appends the
// sizes in line order, at most maxSizes of them; lines without a blank are skipped.
void ParseListLines(std::istream& in, std::vector<std::int64_t>& sizes, std::size_t maxSizes);

}  // namespace quorlet
