#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/charsets.h"

namespace quorlet {
namespace {

class Converter {
public:
    Converter(const char* to, const std::string& from) : m_cd(iconv_open(to, from.c_str())) {}
    ~Converter() {
        if (ok()) {
            iconv_close(m_cd);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Decodes bytes to UTF-32 code points; each malformed byte becomes U+FFFD.
std::u32string Decode(const std::string& charset, std::string_view bytes, bool* known) {
    Converter cd("UTF-32LE", charset);
    *known = cd.ok();
    std::u32string out;
    if (!cd.ok()) {
        return out;
    }
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        for (const char* p = buffer; p < outPtr; p += 4) {
            char32_t c;
            std::memcpy(&c, p, 4);
            out += c;
        }
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or an incomplete sequence at the end: one replacement, skip one byte.
            out += U'\uFFFD';
            ++in;
            --inLeft;
            iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

// Encodes code points one at a time so that each one the target cannot hold becomes "?".
std::string Encode(const std::string& charset, const std::u32string& text, bool* known) {
    Converter cd(charset.c_str(), "UTF-32LE");
    *known = cd.ok();
    std::string out;
    if (!cd.ok()) {
        return out;
    }
    for (char32_t c : text) {
        char in[4];
        std::memcpy(in, &c, 4);
        char* inPtr = in;
        std::size_t inLeft = 4;
        char buffer[16];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        if (c == U'\uFFFD' ||
            iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            out += '?';
            iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
        } else {
            out.append(buffer, outPtr);
        }
    }
    return out;
}

class IconvCharsets final : public Charsets {
public:
    std::string ToGbk(std::string_view charset, std::string_view bytes) const override {
        const std::string name = NormalizeCharsetName(charset);
        if (IsGbkFamily(name) || name.empty()) {
            return std::string(bytes);
        }
        bool known = false;
        const std::u32string text = Decode(name, bytes, &known);
        if (!known) {
            return std::string(bytes);
        }
        return Encode("GBK", text, &known);
    }

    std::string FromGbk(std::string_view charset, std::string_view gbk) const override {
        const std::string name = NormalizeCharsetName(charset);
        if (IsGbkFamily(name) || name.empty()) {
            return std::string(gbk);
        }
        bool known = false;
        const std::u32string text = Decode("GBK", gbk, &known);
        std::string out = Encode(name, text, &known);
        return known ? out : std::string(gbk);
    }
};

}  // namespace

const Charsets& SystemCharsets() {
    static IconvCharsets charsets;
    return charsets;
}

}  // namespace quorlet
