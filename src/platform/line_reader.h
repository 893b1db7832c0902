// Reads the replies of a mail server line by line from a NetStream, however the bytes arrive.
// A line ends at LF; a CR before it belongs to the line end, and a bare LF ends a line too. A
// line longer than the limit is read to its end but kept cut to the limit, so memory stays
// bounded whatever the server sends. NUL bytes are ordinary bytes.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "platform/net.h"

namespace quorlet {

class LineReader {
public:
    enum class Status { Line, Closed, TimedOut, Aborted, Failed };

    // Every wait for more bytes is limited to waitLimit.
    LineReader(NetStream& stream, std::size_t maxLine, std::chrono::milliseconds waitLimit)
        : m_stream(stream), m_maxLine(maxLine), m_waitLimit(waitLimit) {}

    // The next line as received, its line end ("\r\n" or "\n") included; a line cut to the limit
    // keeps its line end. Anything but Status::Line means no complete line arrived.
    Status ReadLine(std::string& line);

private:
    NetStream& m_stream;
    std::size_t m_maxLine;
    std::chrono::milliseconds m_waitLimit;
    std::string m_buffer;  // received, not yet read
    std::size_t m_next = 0;
};

// The line without its line end.
std::string_view LineContent(std::string_view line);

}  // namespace quorlet
