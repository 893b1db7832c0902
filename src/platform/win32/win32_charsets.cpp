#include <windows.h>

#include <array>
#include <utility>

#include "platform/charsets.h"
#include "platform/win32/wide_text.h"

namespace quorlet {
namespace {

// MIME charset names and the Windows code pages that read them.
constexpr std::array<std::pair<std::string_view, unsigned>, 44> kCodePages = {{
    {"utf-8", CP_UTF8},     {"utf8", CP_UTF8},      {"utf-7", CP_UTF7},     {"us-ascii", 20127},
    {"ascii", 20127},       {"big5", 950},          {"big5-hkscs", 950},    {"cp950", 950},
    {"x-big5", 950},        {"iso-8859-1", 28591},  {"latin1", 28591},      {"iso-8859-2", 28592},
    {"iso-8859-3", 28593},  {"iso-8859-4", 28594},  {"iso-8859-5", 28595},  {"iso-8859-6", 28596},
    {"iso-8859-7", 28597},  {"iso-8859-8", 28598},  {"iso-8859-9", 28599},  {"iso-8859-13", 28603},
    {"iso-8859-15", 28605}, {"windows-1250", 1250}, {"windows-1251", 1251}, {"windows-1252", 1252},
    {"windows-1253", 1253}, {"windows-1254", 1254}, {"windows-1255", 1255}, {"windows-1256", 1256},
    {"windows-1257", 1257}, {"windows-1258", 1258}, {"koi8-r", 20866},      {"koi8-u", 21866},
    {"shift_jis", 932},     {"shift-jis", 932},     {"sjis", 932},          {"x-sjis", 932},
    {"euc-jp", 20932},      {"iso-2022-jp", 50220}, {"euc-kr", 949},        {"ks_c_5601-1987", 949},
    {"iso-2022-kr", 50225}, {"hz-gb-2312", 52936},  {"utf-16le", 1200},     {"utf-16be", 1201},
}};

unsigned CodePageOf(std::string_view name) {
    for (const auto& [n, cp] : kCodePages) {
        if (n == name) {
            return cp;
        }
    }
    return 0;
}

std::wstring Utf16FromBytes(std::string_view bytes, bool bigEndian) {
    std::wstring out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        out += static_cast<wchar_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    return out;
}

std::string BytesFromUtf16(std::wstring_view text, bool bigEndian) {
    std::string out;
    for (wchar_t c : text) {
        const char hi = static_cast<char>(c >> 8);
        const char lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

class Win32Charsets final : public Charsets {
public:
    std::string ToGbk(std::string_view charset, std::string_view bytes) const override {
        const std::string name = NormalizeCharsetName(charset);
        if (IsGbkFamily(name) || name.empty()) {
            return std::string(bytes);
        }
        const unsigned cp = CodePageOf(name);
        if (cp == 0) {
            return std::string(bytes);
        }
        std::wstring wide;
        if (cp == 1200 || cp == 1201) {
            wide = Utf16FromBytes(bytes, cp == 1201);
        } else {
            wide = win32::ToWide(bytes, cp);
        }
        return win32::FromWide(wide, win32::kGbkCodePage);
    }

    std::string FromGbk(std::string_view charset, std::string_view gbk) const override {
        const std::string name = NormalizeCharsetName(charset);
        if (IsGbkFamily(name) || name.empty()) {
            return std::string(gbk);
        }
        const unsigned cp = CodePageOf(name);
        if (cp == 0) {
            return std::string(gbk);
        }
        const std::wstring wide = win32::ToWide(gbk, win32::kGbkCodePage);
        if (cp == 1200 || cp == 1201) {
            return BytesFromUtf16(wide, cp == 1201);
        }
        return win32::FromWide(wide, cp);
    }
};

}  // namespace

const Charsets& SystemCharsets() {
    static Win32Charsets charsets;
    return charsets;
}

}  // namespace quorlet
