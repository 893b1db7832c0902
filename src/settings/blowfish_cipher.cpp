#include "settings/blowfish_cipher.h"

#include <cstring>
#include <utility>

#include "settings/blowfish_tables.h"

namespace quorlet {
namespace {

std::uint32_t LoadLittleEndian(const unsigned char* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

void StoreLittleEndian(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

}  // namespace

void BlowfishCipher::SetKey(const unsigned char* key, std::size_t length) {
    std::memcpy(m_p, blowfish::kInitialP, sizeof m_p);
    std::memcpy(m_s, blowfish::kInitialS, sizeof m_s);
    if (length > 0) {
        std::size_t k = 0;
        for (std::uint32_t& p : m_p) {
            std::uint32_t word = 0;
            for (int i = 0; i < 4; ++i) {
                word = word << 8 | key[k];
                k = (k + 1) % length;
            }
            p ^= word;
        }
    }
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    for (int i = 0; i < 18; i += 2) {
        EncryptBlock(left, right);
        m_p[i] = left;
        m_p[i + 1] = right;
    }
    for (auto& box : m_s) {
        for (int i = 0; i < 256; i += 2) {
            EncryptBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

std::uint32_t BlowfishCipher::F(std::uint32_t x) const {
    return ((m_s[0][x >> 24] + m_s[1][(x >> 16) & 0xFF]) ^ m_s[2][(x >> 8) & 0xFF]) +
           m_s[3][x & 0xFF];
}

void BlowfishCipher::EncryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int i = 0; i < 16; ++i) {
        l ^= m_p[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= m_p[16];
    l ^= m_p[17];
    left = l;
    right = r;
}

void BlowfishCipher::DecryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int i = 17; i > 1; --i) {
        l ^= m_p[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= m_p[1];
    l ^= m_p[0];
    left = l;
    right = r;
}

bool BlowfishCipher::EncryptBuffer(unsigned char* data, std::size_t length) const {
    if (length % 8 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < length; i += 8) {
        std::uint32_t left = LoadLittleEndian(data + i);
        std::uint32_t right = LoadLittleEndian(data + i + 4);
        EncryptBlock(left, right);
        StoreLittleEndian(data + i, left);
        StoreLittleEndian(data + i + 4, right);
    }
    return true;
}

bool BlowfishCipher::DecryptBuffer(unsigned char* data, std::size_t length) const {
    if (length % 8 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < length; i += 8) {
        std::uint32_t left = LoadLittleEndian(data + i);
        std::uint32_t right = LoadLittleEndian(data + i + 4);
        DecryptBlock(left, right);
        StoreLittleEndian(data + i, left);
        StoreLittleEndian(data + i + 4, right);
    }
    return true;
}

}  // namespace quorlet
