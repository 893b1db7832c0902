// Header text of outgoing mail: GBK text holding 8-bit bytes goes out as RFC 2047 encoded words
// ("=?GBK?B?...?="), so that every receiver shows it; plain ASCII text stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace quorlet {

std::string EncodeBase64(std::string_view bytes);

// The text itself when it is 7-bit; otherwise encoded words of at most 45 text bytes each (no
// GBK character split between two), separated by a folded line break ("\r\n ").
std::string EncodeHeaderWords(std::string_view gbk);

}  // namespace quorlet
