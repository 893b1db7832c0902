#include "settings/password_cipher.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "settings/blowfish_cipher.h"

namespace quorlet::PasswordCipher {
namespace {

constexpr unsigned char kKey[] = {'M', 'o', 'x', 'o', '&', 'T', 'e', 'a', 'l'};
constexpr std::size_t kWorkBuffer = 255;

// A fresh cipher for every use: nothing is cached.
BlowfishCipher MakeCipher() {
    BlowfishCipher cipher;
    cipher.SetKey(kKey, sizeof kKey);
    return cipher;
}

}  // namespace

std::string Scramble(std::string_view password) {
    std::array<unsigned char, kWorkBuffer> buffer{};
    const std::size_t length = std::min(password.size(), buffer.size() - 1);
    std::memcpy(buffer.data(), password.data(), length);
    MakeCipher().EncryptBuffer(buffer.data(), kBlockSize);
    return std::string(reinterpret_cast<const char*>(buffer.data()), kBlockSize);
}

std::string Unscramble(std::string_view block) {
    std::array<unsigned char, kWorkBuffer> buffer{};
    std::memcpy(buffer.data(), block.data(), std::min(block.size(), kBlockSize));
    MakeCipher().DecryptBuffer(buffer.data(), kBlockSize);
    const auto* text = reinterpret_cast<const char*>(buffer.data());
    return std::string(text, strnlen(text, kBlockSize));
}

}  // namespace quorlet::PasswordCipher
