// Sends one short message through an SMTP server over plain TCP: HELO (never EHLO), MAIL, RCPT,
// DATA, QUIT; no authentication and no TLS. The compose window's send thread calls Connect,
// SendMessage and Disconnect in that order and shows GetErrorText after a false result.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/line_reader.h"
#include "platform/net.h"
#include "send/mail_message.h"

namespace quorlet {

class CSmtpSession {
public:
    // server: a dotted IPv4 address or a host name. Starts the socket layer; does not connect.
    CSmtpSession(Net& net, const std::string& server, unsigned port, const Clock& clock);
    virtual ~CSmtpSession();
    CSmtpSession(const CSmtpSession&) = delete;
    CSmtpSession& operator=(const CSmtpSession&) = delete;

    bool Connect();
    bool SendMessage(CMailMessage& message);
    // Makes the header block and ends the body with CR LF (line ends made CR LF first).
    virtual bool PrepareMessage(CMailMessage& message);
    bool Disconnect();

    std::string GetErrorText() const { return m_strError; }
    const std::string& GetServer() const { return m_strServer; }
    unsigned GetPort() const { return m_nPort; }

    // The connect limit and the time one reply line may take (60 seconds each), and the time a
    // whole reply may take (kWholeReplyLimit), unless a test shortens them.
    void SetWaitLimits(std::chrono::milliseconds connect, std::chrono::milliseconds line,
                       std::chrono::milliseconds wholeReply = kWholeReplyLimit) {
        m_connectLimit = connect;
        m_replyLimit = line;
        m_wholeReplyLimit = wholeReply;
    }

    // The value of the X-Mailer header.
    static constexpr const char* kMailer = "Quorlet v1.x";

protected:
    // Minutes east of UTC of the local time zone at that local time.
    virtual int UtcOffsetMinutes(const CivilTime& local) const;
    // A Message-ID: unique text, then the domain of the sender's address.
    virtual std::string MakeMessageId(const CMailMessage& message) const;

    bool BuildHeader(CMailMessage& message);
    bool Transmit(CMailMessage& message);
    // The body with every line that starts with "." given a second one (RFC 5321).
    static std::string StuffBody(const CMailMessage& message);

private:
    enum Row { kOk = 0, kGreeting = 1, kData = 2, kBye = 3 };

    bool ReadReply(Row row);
    void Send(const std::string& text);
    std::string HeloName() const;
    void CloseSocket();

    std::string m_strError = "OK";
    bool m_bConnected = false;
    unsigned m_nPort;
    std::string m_strServer;
    Net& m_net;
    const Clock& m_clock;
    std::unique_ptr<NetStream> m_stream;
    std::optional<LineReader> m_reader;
    std::chrono::milliseconds m_connectLimit = kNetWaitLimit;
    std::chrono::milliseconds m_replyLimit = kNetWaitLimit;
    std::chrono::milliseconds m_wholeReplyLimit = kWholeReplyLimit;
};

}  // namespace quorlet
