// The transport of a POP3 session: one TCP connection with a connect bounded in time and an
// abort flag that the check slot (or the preview's deletion) can raise from another thread, with
// TLS put under it from the first byte or after STLS.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "mail/mail_tls.h"
#include "platform/line_reader.h"
#include "platform/net.h"

namespace quorlet {

class CPop3Socket {
public:
    explicit CPop3Socket(Net& net) : m_net(net) {}

    // Raised by the abort command: a connect or a reply wait gives up within about 100 ms.
    std::atomic<bool> m_bAbortConnect{false};

    // Starts the socket layer; false when it cannot start.
    bool Create() { return m_net.Initialize(); }

    // Connects, giving up after `limit` or at the abort flag. Replies are read in lines of at
    // most maxLine bytes, each of which must arrive whole within lineLimit.
    bool Connect(const std::string& host, std::uint16_t port, std::chrono::milliseconds limit,
                 std::size_t maxLine, std::chrono::milliseconds lineLimit);

    bool IsOpen() const { return m_stream != nullptr; }
    bool Send(std::string_view data) { return m_stream != nullptr && m_stream->SendAll(data); }
    // The bounds of the reply read next (LineReader::BeginReply).
    void BeginReply(std::size_t maxBytes, std::chrono::milliseconds limit) {
        if (m_reader) {
            m_reader->BeginReply(maxBytes, limit);
        }
    }
    LineReader::Status ReadLine(std::string& line);
    // Whether bytes beyond the last line read have arrived.
    bool HasUnread() const { return m_reader && m_reader->HasUnread(); }
    // The handshake for `host` within `limit`; the lines read after it come through TLS. On
    // failure the connection is closed and the report says why.
    bool Secure(const std::string& host, std::chrono::milliseconds limit, TlsReport& report);
    void Close();

private:
    Net& m_net;
    std::size_t m_maxLine = 0;
    std::chrono::milliseconds m_lineLimit{0};
    std::unique_ptr<NetStream> m_stream;
    std::optional<LineReader> m_reader;
};

}  // namespace quorlet
