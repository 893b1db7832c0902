#include "send/smtp_reply.h"

#include <algorithm>
#include <string>

namespace quorlet {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int SmtpReplyCode(std::string_view line) {
    if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2])) {
        return 0;
    }
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

SmtpReply ReadSmtpReply(LineReader& reader, std::chrono::milliseconds limit,
                        std::vector<std::string>* lines) {
    reader.BeginReply(kMaxSmtpReplyBytes, limit);
    SmtpReply reply;
    std::string line;
    for (int n = 0; n < kMaxSmtpReplyLines; ++n) {
        switch (reader.ReadLine(line)) {
            case LineReader::Status::Line:
                break;
            case LineReader::Status::Closed:
                reply.outcome = SmtpReply::Outcome::Closed;
                return reply;
            default:
                return reply;
        }
        const std::string_view content = LineContent(line);
        reply.code = SmtpReplyCode(content);
        if (lines != nullptr) {
            lines->emplace_back(content.substr(std::min<std::size_t>(4, content.size())));
        }
        const bool continued = reply.code != 0 && content.size() > 3 && content[3] == '-';
        if (!continued) {
            reply.outcome = SmtpReply::Outcome::Whole;
            return reply;
        }
    }
    reply.code = 0;
    return reply;
}

}  // namespace quorlet
