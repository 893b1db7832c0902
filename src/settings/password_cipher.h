// Passwords are kept in the registry as a 128-byte Blowfish block under a key built into the
// program, so that they are never stored as plain text.
#pragma once

#include <string>
#include <string_view>

namespace quorlet::PasswordCipher {

inline constexpr std::size_t kBlockSize = 128;

// The stored block of a password. At most 128 bytes of the text survive; 127 or fewer are stored
// with their terminating zero and zero padding.
std::string Scramble(std::string_view password);

// The password of a stored block: the text up to the first zero byte. Data longer than 128 bytes
// is cut; shorter data is padded with zeros.
std::string Unscramble(std::string_view block);

}  // namespace quorlet::PasswordCipher
