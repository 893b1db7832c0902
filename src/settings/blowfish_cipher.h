// The Blowfish block cipher (64-bit blocks, 16 rounds), electronic-codebook mode over buffers.
// Words are taken from a buffer little-endian: the stored password blocks depend on that order.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorlet {

class BlowfishCipher {
public:
    // Copies the initial tables and runs the standard key schedule (key bytes used cyclically).
    void SetKey(const unsigned char* key, std::size_t length);

    void EncryptBlock(std::uint32_t& left, std::uint32_t& right) const;
    void DecryptBlock(std::uint32_t& left, std::uint32_t& right) const;

    // In place, as independent 8-byte blocks whose halves are little-endian words. False, with
    // nothing changed, when length is not a multiple of 8.
    bool EncryptBuffer(unsigned char* data, std::size_t length) const;
    bool DecryptBuffer(unsigned char* data, std::size_t length) const;

private:
    std::uint32_t F(std::uint32_t x) const;

    std::uint32_t m_p[18] = {};
    std::uint32_t m_s[4][256] = {};
};

}  // namespace quorlet
