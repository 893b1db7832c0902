// How many GBK bytes each kind of stored text can hold. The store reads values into fixed
// buffers, so a longer text would be saved and then read back as missing; the dialogs limit
// their edits to these byte counts (not characters: a Chinese character takes two bytes).
#pragma once

#include <cstddef>

namespace quorlet {

inline constexpr std::size_t kLongTextBytes = 254;  // paths, addresses, account fields
inline constexpr std::size_t kShortTextBytes = 9;   // numbers and flags
inline constexpr std::size_t kPasswordBytes = 127;  // the 128-byte cipher block, with its zero

}  // namespace quorlet
