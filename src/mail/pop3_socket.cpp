#include "mail/pop3_socket.h"

namespace quorlet {

bool CPop3Socket::Connect(const std::string& host, std::uint16_t port,
                          std::chrono::milliseconds limit, std::size_t maxLine,
                          std::chrono::milliseconds lineLimit) {
    Close();
    m_stream = m_net.Connect(host, port, limit, &m_bAbortConnect);
    if (m_stream == nullptr) {
        return false;
    }
    m_maxLine = maxLine;
    m_lineLimit = lineLimit;
    m_reader.emplace(*m_stream, maxLine, lineLimit);
    return true;
}

bool CPop3Socket::Secure(const std::string& host, std::chrono::milliseconds limit,
                         TlsReport& report) {
    // The reader holds on to the plain stream: it goes first.
    m_reader.reset();
    if (!SecureStream(m_net, m_stream, host, limit, report)) {
        Close();
        return false;
    }
    m_reader.emplace(*m_stream, m_maxLine, m_lineLimit);
    return true;
}

LineReader::Status CPop3Socket::ReadLine(std::string& line) {
    if (!m_reader) {
        line.clear();
        return LineReader::Status::Failed;
    }
    return m_reader->ReadLine(line);
}

void CPop3Socket::Close() {
    m_reader.reset();
    m_stream.reset();
}

}  // namespace quorlet
