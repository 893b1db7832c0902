#include "mail/header_decoder.h"

#include <array>
#include <optional>

namespace quorlet {
namespace {

constexpr int kInvalid = -1;
constexpr int kSkip = -2;

std::array<int, 256> Base64Table() {
    std::array<int, 256> table;
    table.fill(kInvalid);
    for (std::size_t i = 0; i < kBase64Alphabet.size(); ++i) {
        table[static_cast<unsigned char>(kBase64Alphabet[i])] = static_cast<int>(i);
    }
    table['='] = kSkip;
    return table;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

struct EncodedWord {
    std::string_view charset;
    std::string bytes;
    std::size_t end;  // index just past the word
};

// Reads the encoded word that starts at raw[start] ("=?"), or nothing when it is not one. A word
// without its closing "?=" runs to the end of the field, as mailers that cut long subjects leave
// it.
std::optional<EncodedWord> ReadEncodedWord(std::string_view raw, std::size_t start) {
    const std::size_t charsetStart = start + 2;
    const std::size_t q = raw.find('?', charsetStart);
    if (q == std::string_view::npos || q + 2 >= raw.size() || raw[q + 2] != '?') {
        return std::nullopt;
    }
    const char letter = raw[q + 1];
    if (letter != 'B' && letter != 'b' && letter != 'Q' && letter != 'q') {
        return std::nullopt;
    }
    std::string_view charset = raw.substr(charsetStart, q - charsetStart);
    charset = charset.substr(0, charset.find('*'));  // RFC 2231 language suffix
    const std::size_t textStart = q + 3;
    const std::size_t close = raw.find("?=", textStart);
    const std::size_t textEnd = close == std::string_view::npos ? raw.size() : close;
    const std::string_view text = raw.substr(textStart, textEnd - textStart);
    EncodedWord word;
    word.charset = charset;
    word.bytes = (letter == 'B' || letter == 'b') ? DecodeBase64(text) : DecodeQuoted(text);
    word.end = close == std::string_view::npos ? raw.size() : close + 2;
    return word;
}

}  // namespace

std::string DecodeBase64(std::string_view text) {
    static const std::array<int, 256> table = Base64Table();
    std::string out;
    out.reserve(text.size() * 3 / 4 + 1);
    unsigned accumulator = 0;
    int bits = 0;
    for (char c : text) {
        const int value = table[static_cast<unsigned char>(c) & 0x7F];
        if (value == kSkip) {
            continue;
        }
        if (value == kInvalid) {
            break;
        }
        accumulator = (accumulator << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((accumulator >> bits) & 0xFF);
        }
    }
    return out;
}

std::string DecodeQuoted(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '?' && i + 1 < text.size() && text[i + 1] == '=') {
            break;
        }
        if (c != '=') {
            out += c == '_' ? ' ' : c;
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '=') {
            out += '=';
            ++i;
            continue;
        }
        if (i + 2 >= text.size()) {
            break;
        }
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        out += static_cast<char>(high < 0 || low < 0 ? 0 : high * 16 + low);
        i += 3;
    }
    return out;
}

std::string BlankControlBytes(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return text;
}

std::string DecodeHeaderText(std::string_view raw, char /*encoding*/, const Charsets& charsets) {
    std::string out;
    std::string between;  // plain text since the last encoded word
    std::string runCharset;
    std::string runBytes;  // adjacent encoded words of one charset, not yet converted
    bool inRun = false;
    auto flushRun = [&] {
        if (inRun) {
            out += charsets.ToGbk(runCharset, runBytes);
            runBytes.clear();
            inRun = false;
        }
    };
    std::size_t i = 0;
    while (i < raw.size()) {
        if (raw[i] == '=' && i + 1 < raw.size() && raw[i + 1] == '?') {
            if (std::optional<EncodedWord> word = ReadEncodedWord(raw, i)) {
                const bool onlyBlanks = between.find_first_not_of(" \t\r\n") == std::string::npos;
                const std::string charset = NormalizeCharsetName(word->charset);
                if (!(inRun && onlyBlanks)) {
                    flushRun();
                    out += between;
                } else if (charset != runCharset) {
                    flushRun();
                }
                between.clear();
                runCharset = charset;
                runBytes += word->bytes;
                inRun = true;
                i = word->end;
                continue;
            }
        }
        between += raw[i];
        ++i;
    }
    flushRun();
    out += between;
    return BlankControlBytes(std::move(out));
}

}  // namespace quorlet
