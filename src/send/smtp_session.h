// Sends one short message through an SMTP server: HELO, MAIL, RCPT, DATA, QUIT over plain TCP,
// as it always did. Only when the settings ask for security or a login does the session say EHLO
// instead, put TLS under the connection from the first byte or after STARTTLS (RFC 3207), and
// log in with AUTH PLAIN, or LOGIN where only that is offered (RFC 4954). The compose window's
// send thread calls Connect, SendMessage and Disconnect in that order and shows GetErrorText
// after a false result.
//
// When security is asked for, nothing but EHLO and STARTTLS is said before TLS is up, and the
// login is chosen from what the server offers over TLS alone. A login without security is what
// the user asked for: the password then goes over plain TCP, as the account passwords of POP3 do.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mail/mail_tls.h"
#include "platform/clock.h"
#include "platform/line_reader.h"
#include "platform/net.h"
#include "send/mail_message.h"
#include "send/smtp_extensions.h"
#include "send/smtp_reply.h"
#include "settings/mail_security.h"

namespace quorlet {

// The server refused the user name or the password.
inline constexpr const char* kSmtpLoginRefused = "用户名或密码错误";
// A user name is set, but the server offers neither AUTH PLAIN nor AUTH LOGIN (after STARTTLS,
// when that was asked for).
inline constexpr const char* kSmtpNoLogin = "服务器不支持登录";

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

    // How the connection is protected, and the login (none with an empty user name); set
    // before Connect.
    void SetSecurity(MailSecurity security) { m_security = security; }
    void SetLogin(std::string user, std::string password) {
        m_strUser = std::move(user);
        m_strPassword = std::move(password);
    }
    // The handshake of the last Connect, if it made one.
    const TlsReport& GetTlsReport() const { return m_tls; }

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

    // One reply read whole; anything else closes the connection.
    SmtpReply Receive(std::vector<std::string>* lines = nullptr);
    bool ReadReply(Row row, std::vector<std::string>* lines = nullptr);
    // The reply must have `code`; otherwise the error text is `text` ("Socket Error" when the
    // connection broke).
    bool Expect(int code, const char* text);
    void Send(const std::string& text);
    std::string HeloName() const;
    void CloseSocket();
    bool Secure();
    // EHLO, then STARTTLS and EHLO again, then AUTH, as the settings ask.
    bool ExtendedHello();
    bool Ehlo(SmtpExtensions& extensions);
    bool StartTls(SmtpExtensions& extensions);
    bool Login(const SmtpExtensions& extensions);

    std::string m_strError = "OK";
    bool m_bConnected = false;
    unsigned m_nPort;
    std::string m_strServer;
    Net& m_net;
    const Clock& m_clock;
    std::unique_ptr<NetStream> m_stream;
    std::optional<LineReader> m_reader;
    std::optional<std::array<std::uint8_t, 4>> m_localAddress;  // of the plain connection
    MailSecurity m_security = MailSecurity::None;
    std::string m_strUser;
    std::string m_strPassword;
    TlsReport m_tls;
    std::chrono::milliseconds m_connectLimit = kNetWaitLimit;
    std::chrono::milliseconds m_replyLimit = kNetWaitLimit;
    std::chrono::milliseconds m_wholeReplyLimit = kWholeReplyLimit;
};

}  // namespace quorlet
