#include "settings/password_cipher.h"

#include <gtest/gtest.h>

#include <random>

namespace quorlet {
namespace {

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// Known answers computed with an independent Blowfish (OpenSSL's BF_ecb_encrypt, key
// "Moxo&Teal", each 4-byte half byte-swapped before and after).
constexpr const char* kZeroBlock = "28b73520c48c24a5";

TEST(PasswordCipher, KnownStoredBlocks) {
    const std::string empty = PasswordCipher::Scramble("");
    ASSERT_EQ(empty.size(), 128u);
    std::string expected;
    for (int i = 0; i < 16; ++i) {
        expected += kZeroBlock;  // no chaining: sixteen equal blocks
    }
    EXPECT_EQ(Hex(empty), expected);

    const std::string secret = PasswordCipher::Scramble("secret");
    EXPECT_EQ(Hex(secret).substr(0, 32), std::string("51ce2d993f8cd5f0") + kZeroBlock);
    EXPECT_EQ(Hex(PasswordCipher::Scramble("鸥信通")).substr(0, 16), "1a94cddfa26cd5ce");
}

TEST(PasswordCipher, SamePasswordSameBlock) {
    EXPECT_EQ(PasswordCipher::Scramble("pop3pass"), PasswordCipher::Scramble("pop3pass"));
    EXPECT_NE(PasswordCipher::Scramble("pop3pass"), PasswordCipher::Scramble("pop3pasS"));
}

TEST(PasswordCipher, RoundTripsUpTo128Bytes) {
    std::mt19937 random(7);
    for (std::size_t length = 0; length <= 128; ++length) {
        std::string password;
        for (std::size_t i = 0; i < length; ++i) {
            password += static_cast<char>(1 + random() % 255);  // any byte but zero
        }
        ASSERT_EQ(PasswordCipher::Unscramble(PasswordCipher::Scramble(password)), password)
            << length;
    }
}

TEST(PasswordCipher, LongerPasswordsKeepTheirFirst128Bytes) {
    const std::string password(130, 'p');
    EXPECT_EQ(PasswordCipher::Unscramble(PasswordCipher::Scramble(password)),
              std::string(128, 'p'));
    const std::string gbk = "密码" + std::string(125, 'x');  // 129 bytes
    EXPECT_EQ(PasswordCipher::Unscramble(PasswordCipher::Scramble(gbk)), gbk.substr(0, 128));
}

TEST(PasswordCipher, ShortOrForeignBlocksNeverOverrun) {
    EXPECT_EQ(PasswordCipher::Unscramble(""), PasswordCipher::Unscramble(std::string(128, '\0')));
    const std::string junk = PasswordCipher::Unscramble(std::string(255, '\x7f'));
    EXPECT_LE(junk.size(), 128u);
}

}  // namespace
}  // namespace quorlet
