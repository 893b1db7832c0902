#include "settings/blowfish_cipher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace quorlet {
namespace {

std::vector<unsigned char> Hex(const std::string& hex) {
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// Reverses the bytes of each 4-byte half: the reference byte order to the program's and back.
std::vector<unsigned char> SwapHalves(std::vector<unsigned char> bytes) {
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        std::swap(bytes[i], bytes[i + 3]);
        std::swap(bytes[i + 1], bytes[i + 2]);
    }
    return bytes;
}

struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
};

// Published Blowfish ECB test vectors (big-endian reference byte order).
const Vector kVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
};

TEST(BlowfishCipher, ReferenceVectorsThroughTheHalfSwap) {
    for (const Vector& v : kVectors) {
        const auto key = Hex(v.key);
        BlowfishCipher cipher;
        cipher.SetKey(key.data(), key.size());

        auto block = SwapHalves(Hex(v.plain));
        ASSERT_TRUE(cipher.EncryptBuffer(block.data(), block.size()));
        EXPECT_EQ(SwapHalves(block), Hex(v.cipher)) << v.key << " " << v.plain;

        ASSERT_TRUE(cipher.DecryptBuffer(block.data(), block.size()));
        EXPECT_EQ(SwapHalves(block), Hex(v.plain));
    }
}

TEST(BlowfishCipher, BlockFunctionsWorkOnWords) {
    const auto key = Hex("0123456789ABCDEF");
    BlowfishCipher cipher;
    cipher.SetKey(key.data(), key.size());
    std::uint32_t left = 0x11111111;
    std::uint32_t right = 0x11111111;
    cipher.EncryptBlock(left, right);
    EXPECT_EQ(left, 0x61F9C380u);
    EXPECT_EQ(right, 0x2281B096u);
    cipher.DecryptBlock(left, right);
    EXPECT_EQ(left, 0x11111111u);
    EXPECT_EQ(right, 0x11111111u);
}

TEST(BlowfishCipher, WithoutTheSwapTheReferenceOrderGivesOtherBytes) {
    const auto key = Hex("FEDCBA9876543210");
    BlowfishCipher cipher;
    cipher.SetKey(key.data(), key.size());
    auto block = Hex("0123456789ABCDEF");
    cipher.EncryptBuffer(block.data(), block.size());
    EXPECT_NE(block, Hex("0ACEAB0FC6A0A28D"));
}

TEST(BlowfishCipher, BufferLengthsThatAreNotWholeBlocksAreRefused) {
    const unsigned char key[] = {'k'};
    BlowfishCipher cipher;
    cipher.SetKey(key, 1);
    unsigned char data[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    unsigned char copy[16];
    std::memcpy(copy, data, sizeof data);
    EXPECT_FALSE(cipher.EncryptBuffer(data, 12));
    EXPECT_FALSE(cipher.DecryptBuffer(data, 7));
    EXPECT_EQ(std::memcmp(data, copy, sizeof data), 0);
    EXPECT_TRUE(cipher.EncryptBuffer(data, 0));
    EXPECT_EQ(std::memcmp(data, copy, sizeof data), 0);
    // Electronic codebook: equal blocks encrypt equally, wherever they stand.
    unsigned char twice[16] = {1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(cipher.EncryptBuffer(twice, 16));
    EXPECT_EQ(std::memcmp(twice, twice + 8, 8), 0);
}

}  // namespace
}  // namespace quorlet
