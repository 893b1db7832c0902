// Line-by-line reading of text that comes from outside (spool files of server replies): every
// line is read to its end, but at most a fixed number of its bytes is kept, so that one endless
// line cannot take unbounded memory. NUL bytes are ordinary bytes.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace quorlet {

// Reads the next line up to LF (the LF itself is dropped, a CR before it is kept) and keeps at
// most maxBytes of it in `line`. False at the end of the input when no byte was left.
bool ReadBoundedLine(std::istream& in, std::string& line, std::size_t maxBytes);

// White space in the sense of the C runtime's isspace for the "C" locale.
constexpr bool IsSpaceByte(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Trims white space from both ends.
std::string_view TrimSpace(std::string_view text);

}  // namespace quorlet
