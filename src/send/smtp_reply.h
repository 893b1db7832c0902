// Reading one SMTP reply whole: continuation lines ("250-...") are read up to the last line
// ("250 ..."), whose code is the reply's code, so a multi-line greeting or EHLO-style answer
// cannot leave lines behind for the next command to find.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/line_reader.h"

namespace quorlet {

struct SmtpReply {
    enum class Outcome {
        Whole,   // the last line arrived
        Closed,  // the server closed the connection before it
        Broken,  // the connection failed, was too slow, or the reply never ended or grew too long
    };
    Outcome outcome = Outcome::Broken;
    int code = 0;  // of the last line; 0 when it does not start with three digits
};

// The longest reply line kept (the rest of a longer one is read and dropped), the most lines one
// reply may have, and the most bytes it may take in all (every byte received counts).
inline constexpr std::size_t kMaxSmtpReplyLine = 1024;
inline constexpr int kMaxSmtpReplyLines = 1000;
inline constexpr std::size_t kMaxSmtpReplyBytes = 65536;

// Reads one reply, which must have arrived whole within `limit`. With `lines`, the text of each
// of its lines after the code and the separator is appended there (an EHLO reply's extensions).
SmtpReply ReadSmtpReply(LineReader& reader, std::chrono::milliseconds limit,
                        std::vector<std::string>* lines = nullptr);

// The code of a reply line: its first three characters when they are digits ("250OK" is 250);
// else 0.
int SmtpReplyCode(std::string_view line);

}  // namespace quorlet
