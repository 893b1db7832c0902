// Picks the fields the program keeps (sender, subject, date, body transfer encoding) out of the
// header lines of one message, as a TOP reply with no body lines returns them.
#pragma once

#include <istream>
#include <string>

namespace quorlet {

struct HeaderFields {
    std::string from;     // after "From:", the blank after the colon kept; raw, undecoded
    std::string subject;  // after "Subject:"
    std::string date;     // after "Date:"; empty when there is none
    char encoding = 0;    // 'B' (base64), 'Q' (quoted-printable) or 0
};

// The longest header line (after unfolding) that is kept; the rest of such a line is dropped.
inline constexpr std::size_t kMaxHeaderLine = 32768;

// Reads header lines up to the blank line that ends the header. A first line that is empty or
// starts with white space is the rest of the server's status line and is passed over. Folded
// lines are unfolded first. Prefixes are case-sensitive, the last occurrence of a field wins,
// and control bytes in the kept text become blanks.
HeaderFields ExtractHeaderFields(std::istream& in);

}  // namespace quorlet
