// Display text of the header fields the program keeps (sender, subject): RFC 2047 encoded words
// are decoded and converted to GBK. The fields stay raw in the mail table; this runs each time a
// field is shown or matched against the subject filter.
#pragma once

#include <string>
#include <string_view>

#include "platform/charsets.h"

namespace quorlet {

// The display text of a raw field. Every encoded word ("=?charset?B?...?=" or Q) is decoded and
// converted from its charset to GBK, text outside encoded words is kept, and white space between
// two adjacent encoded words is dropped. Adjacent words of one charset are joined as bytes before
// the conversion, so a character split across two words survives. Control bytes (CR, LF, NUL,
// ...) of the result become blanks. `encoding` is the body's transfer encoding; it plays no part.
std::string DecodeHeaderText(std::string_view raw, char encoding, const Charsets& charsets);

// Base64 with the standard alphabet: "=" is skipped, the first byte outside the alphabet ends the
// decoding (the "?" of a closing "?="), and bits left over at the end are dropped. A byte is read
// by its low seven bits.
std::string DecodeBase64(std::string_view text);

// The Q encoding of header words: "=XY" is the byte 0xXY ("=" with a non-hex digit gives 0),
// "==" is "=", "_" is a blank, anything else stays; the walk ends at "?=" or at a "=" with fewer
// than two characters after it.
std::string DecodeQuoted(std::string_view text);

// Every byte below 0x20 and 0x7F becomes a blank.
std::string BlankControlBytes(std::string text);

// The standard base64 alphabet, shared by the decoder and the encoder.
inline constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace quorlet
