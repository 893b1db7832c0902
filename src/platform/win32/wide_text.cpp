#include "platform/win32/wide_text.h"

#include <windows.h>

namespace quorlet::win32 {

std::wstring ToWide(std::string_view text, unsigned codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), length);
    return out;
}

std::string FromWide(std::wstring_view text, unsigned codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    // UTF-7 and UTF-8 refuse a default character.
    const bool unicode = codePage == CP_UTF8 || codePage == CP_UTF7;
    const char* fallback = unicode ? nullptr : "?";
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, fallback, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), length, fallback, nullptr);
    return out;
}

}  // namespace quorlet::win32
