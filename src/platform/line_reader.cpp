#include "platform/line_reader.h"

#include <algorithm>

namespace quorlet {

void LineReader::BeginReply(std::size_t maxBytes, std::chrono::milliseconds limit) {
    m_replyBytesLeft = maxBytes;
    m_replyDeadline = m_stream.Now() + limit;
}

LineReader::Status LineReader::ReadLine(std::string& line) {
    line.clear();
    const TimePoint deadline = std::min(m_stream.Now() + m_lineLimit, m_replyDeadline);
    bool cut = false;
    bool crBeforeEnd = false;
    for (;;) {
        const std::size_t lf = m_buffer.find('\n', m_next);
        const std::size_t end = lf == std::string::npos ? m_buffer.size() : lf;
        // Every byte counts, the part of a long line that is not kept too.
        const std::size_t taken = (lf == std::string::npos ? end : lf + 1) - m_next;
        if (taken > m_replyBytesLeft) {
            m_replyBytesLeft = 0;
            m_buffer.clear();
            m_next = 0;
            return Status::TooLong;
        }
        m_replyBytesLeft -= taken;
        if (end > m_next) {
            crBeforeEnd = m_buffer[end - 1] == '\r';
            const std::size_t room = m_maxLine > line.size() ? m_maxLine - line.size() : 0;
            const std::size_t take = std::min(end - m_next, room);
            line.append(m_buffer, m_next, take);
            cut = cut || take < end - m_next;
        }
        if (lf != std::string::npos) {
            m_next = lf + 1;
            if (cut) {
                // Keep the line end of a cut line, so the line still reads as one line.
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                line += crBeforeEnd ? "\r\n" : "\n";
            } else {
                line += '\n';
            }
            return Status::Line;
        }
        m_buffer.clear();
        m_next = 0;
        const TimePoint now = m_stream.Now();
        if (now >= deadline) {
            return Status::TimedOut;
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        switch (m_stream.Receive(m_buffer, 16384, wait)) {
            case NetStream::Result::Data:
                break;
            case NetStream::Result::Closed:
                return Status::Closed;
            case NetStream::Result::TimedOut:
                return Status::TimedOut;
            case NetStream::Result::Aborted:
                return Status::Aborted;
            case NetStream::Result::Failed:
                return Status::Failed;
        }
    }
}

std::string_view LineContent(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
    }
    return line;
}

}  // namespace quorlet
