// Conversion of text in a named MIME charset to and from the program's GBK. Characters GBK
// cannot hold become "?"; malformed input bytes become "?" too. An unknown charset leaves the
// bytes as they are. The GB family (gb2312, gbk, gb18030, ...) is taken as GBK and kept byte for
// byte: much mail labelled gb2312 uses GBK characters, which a strict GB2312 decoder would lose.
#pragma once

#include <string>
#include <string_view>

namespace quorlet {

class Charsets {
public:
    virtual ~Charsets() = default;
    virtual std::string ToGbk(std::string_view charset, std::string_view bytes) const = 0;
    virtual std::string FromGbk(std::string_view charset, std::string_view gbk) const = 0;
};

// iconv on POSIX, the system code pages on Windows.
const Charsets& SystemCharsets();

// Lower-cased and trimmed charset name, without the quotes some mailers put around it.
std::string NormalizeCharsetName(std::string_view name);

// Whether a (normalized) name belongs to the GB family that GBK covers.
bool IsGbkFamily(std::string_view normalizedName);

}  // namespace quorlet
