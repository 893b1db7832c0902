// The program's GBK text at the Win32 boundary. Only the W functions are called, because the A
// functions follow the system code page, which need not be 936.
#pragma once

#include <string>
#include <string_view>

namespace quorlet::win32 {

constexpr unsigned kGbkCodePage = 936;

std::wstring ToWide(std::string_view text, unsigned codePage = kGbkCodePage);

// Characters the code page cannot hold become "?".
std::string FromWide(std::wstring_view text, unsigned codePage = kGbkCodePage);

}  // namespace quorlet::win32
