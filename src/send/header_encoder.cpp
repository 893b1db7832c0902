#include "send/header_encoder.h"

#include "base/gbk_text.h"
#include "mail/header_decoder.h"

namespace quorlet {
namespace {

// 45 bytes give 60 base64 characters: with "=?GBK?B?" and "?=" a word stays within the 75
// characters RFC 2047 allows.
constexpr std::size_t kWordBytes = 45;

bool HasEightBit(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string EncodeBase64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += kBase64Alphabet[v >> 18];
        out += kBase64Alphabet[(v >> 12) & 63];
        out += kBase64Alphabet[(v >> 6) & 63];
        out += kBase64Alphabet[v & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
        out += kBase64Alphabet[v >> 18];
        out += kBase64Alphabet[(v >> 12) & 63];
        out += two ? kBase64Alphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string EncodeHeaderWords(std::string_view gbk) {
    if (!HasEightBit(gbk)) {
        return std::string(gbk);
    }
    std::string out;
    while (!gbk.empty()) {
        std::size_t take = gbk::TruncateChars(gbk, kWordBytes).size();
        if (take == 0) {
            take = gbk::CharLength(gbk, 0);
        }
        if (!out.empty()) {
            out += "\r\n ";
        }
        out += "=?GBK?B?" + EncodeBase64(gbk.substr(0, take)) + "?=";
        gbk.remove_prefix(take);
    }
    return out;
}

}  // namespace quorlet
