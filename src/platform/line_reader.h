// Reads the replies of a mail server line by line from a NetStream, however the bytes arrive.
// A line ends at LF; a CR before it belongs to the line end, and a bare LF ends a line too. A
// line longer than the limit is read to its end but kept cut to the limit, so memory stays
// bounded whatever the server sends. NUL bytes are ordinary bytes.
//
// Time and size are bounded per line and per reply: a line must arrive whole within the line
// limit of being asked for, however the server spaces its bytes; and every byte received for a
// reply (the cut part of a long line and the line ends included) counts against the reply's
// byte budget, and all its lines against its deadline, both set by BeginReply.
#pragma once

#include <chrono>
#include <cstddef>
#include <limits>
#include <string>

#include "platform/net.h"

namespace quorlet {

class LineReader {
public:
    enum class Status {
        Line,      // a whole line
        Closed,    // the server closed the connection before the line's end
        TimedOut,  // the line limit or the reply's deadline passed
        Aborted,   // the stream's abort flag was raised
        Failed,    // the connection failed
        TooLong,   // the reply's byte budget ran out before the line's end
    };

    LineReader(NetStream& stream, std::size_t maxLine, std::chrono::milliseconds lineLimit)
        : m_stream(stream), m_maxLine(maxLine), m_lineLimit(lineLimit) {}

    // Starts a reply: its lines may take at most maxBytes received bytes in all and must all
    // have arrived within `limit` from now. Until the first call a reply has no bound of its own.
    void BeginReply(std::size_t maxBytes, std::chrono::milliseconds limit);

    // The next line as received, its line end ("\r\n" or "\n") included; a line cut to the limit
    // keeps its line end. Anything but Status::Line means no complete line arrived; what was
    // received of it is gone, so the reply cannot be read on.
    Status ReadLine(std::string& line);

    // Whether bytes beyond the last line read have arrived: after a server's go-ahead for TLS
    // there must be none, since plain text there could only be injected into the conversation.
    bool HasUnread() const { return m_next < m_buffer.size(); }

private:
    using TimePoint = std::chrono::steady_clock::time_point;

    NetStream& m_stream;
    std::size_t m_maxLine;
    std::chrono::milliseconds m_lineLimit;
    std::size_t m_replyBytesLeft = std::numeric_limits<std::size_t>::max();
    TimePoint m_replyDeadline = TimePoint::max();
    std::string m_buffer;  // received, not yet read
    std::size_t m_next = 0;
};

// The line without its line end.
std::string_view LineContent(std::string_view line);

}  // namespace quorlet
