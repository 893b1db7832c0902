// Text in the program is GBK (code page 936) held in std::string. These helpers treat a GBK
// string as a sequence of characters so that the trail byte of a double-byte character, which
// may fall in the ASCII letter range, is never mistaken for a letter.
#pragma once

#include <string>
#include <string_view>

namespace quorlet::gbk {

// A byte that starts a double-byte GBK character.
constexpr bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// Number of bytes of the character starting at text[i] (1 or 2; 1 at a lone lead byte at the end).
std::size_t CharLength(std::string_view text, std::size_t i);

// Upper-cases the letters a to z; double-byte characters stay as they are.
std::string ToUpperAscii(std::string_view text);

// Byte equality except that the letters A to Z and a to z are equal to each other.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Cuts text to at most maxBytes bytes without splitting a double-byte character.
std::string_view TruncateChars(std::string_view text, std::size_t maxBytes);

}  // namespace quorlet::gbk
