#include "send/smtp_session.h"

#include <array>
#include <cstdio>
#include <mutex>
#include <random>

#include "mail/mail_date.h"
#include "platform/time_zone.h"
#include "send/header_encoder.h"
#include "send/smtp_reply.h"

namespace quorlet {
namespace {

struct ReplyRow {
    int code;
    const char* text;
};

// The code each step expects and the text reported when another one comes back.
constexpr ReplyRow kReplyTable[] = {
    {250, "SMTP server error"},
    {220, "SMTP server not available"},
    {354, "SMTP server not ready for data"},
    {221, "SMTP server didn't terminate session"},
};

constexpr const char* kBadSender = "无效的回信地址,请重新填写 !";

// A host name HELO may carry: letters, digits, "-" and ".", at most 79 characters.
bool IsPlainHostName(std::string_view name) {
    if (name.empty() || name.size() > 79) {
        return false;
    }
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!ok) {
            return false;
        }
    }
    return true;
}

// CR, LF and NUL would end the header line early: they become blanks.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\0') {
            c = ' ';
        }
    }
    return text;
}

// A display name: its 8-bit part encoded, blanks around it left outside the encoded words.
std::string DisplayName(const std::string& name) {
    const std::string line = OneLine(name);
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) {
        return line;
    }
    const std::size_t last = line.find_last_not_of(' ');
    const std::string core = line.substr(first, last - first + 1);
    const std::string encoded = EncodeHeaderWords(core);
    if (encoded == core) {
        return line;
    }
    std::string out = line.substr(0, first) + encoded + line.substr(last + 1);
    if (out.back() != ' ') {
        out += ' ';  // an encoded word must stand apart from the "<" that follows
    }
    return out;
}

std::string ZoneText(int minutes) {
    const char sign = minutes < 0 ? '-' : '+';
    if (minutes < 0) {
        minutes = -minutes;
    }
    char text[8];
    std::snprintf(text, sizeof text, "%c%02d%02d", sign, minutes / 60 % 100, minutes % 60);
    return text;
}

// Bare CR or LF become CR LF, so every line reaches the receiver as its own line.
std::string CrLfLines(const std::string& body) {
    std::string out;
    out.reserve(body.size() + body.size() / 32);
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < body.size() && body[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

CSmtpSession::CSmtpSession(Net& net, const std::string& server, unsigned port, const Clock& clock)
    : m_nPort(port), m_strServer(server), m_net(net), m_clock(clock) {
    m_net.Initialize();
}

CSmtpSession::~CSmtpSession() {
    if (m_bConnected) {
        Disconnect();
    }
}

void CSmtpSession::Send(const std::string& text) {
    // A failed write shows up as a failed read of the reply that follows.
    if (m_stream != nullptr) {
        m_stream->SendAll(text);
    }
}

void CSmtpSession::CloseSocket() {
    m_reader.reset();
    m_stream.reset();
}

SmtpReply CSmtpSession::Receive(std::vector<std::string>* lines) {
    const SmtpReply reply =
        m_reader ? ReadSmtpReply(*m_reader, m_wholeReplyLimit, lines) : SmtpReply{};
    if (reply.outcome != SmtpReply::Outcome::Whole) {
        // The rest of the reply may still come, where the next command would take it for its
        // own: nothing more is said on this connection.
        CloseSocket();
        m_bConnected = false;
    }
    return reply;
}

bool CSmtpSession::Expect(int code, const char* text) {
    const SmtpReply reply = Receive();
    if (reply.outcome == SmtpReply::Outcome::Whole && reply.code == code) {
        return true;
    }
    m_strError = reply.outcome == SmtpReply::Outcome::Broken ? "Socket Error" : text;
    return false;
}

bool CSmtpSession::ReadReply(Row row, std::vector<std::string>* lines) {
    const SmtpReply reply = Receive(lines);
    if (reply.outcome == SmtpReply::Outcome::Broken) {
        m_strError = "Socket Error";
        return false;
    }
    // A server that closed without a reply has sent no code: 0.
    const int code = reply.outcome == SmtpReply::Outcome::Closed ? 0 : reply.code;
    if (code == kReplyTable[row].code) {
        return true;
    }
    char text[128];
    std::snprintf(text, sizeof text, "%d:%s", code, kReplyTable[row].text);
    m_strError = text;
    return false;
}

std::string CSmtpSession::HeloName() const {
    const std::optional<std::string> name = m_net.LocalHostName();
    if (name && IsPlainHostName(*name)) {
        return *name;
    }
    const std::array<std::uint8_t, 4> a =
        m_localAddress.value_or(std::array<std::uint8_t, 4>{127, 0, 0, 1});
    char text[32];
    std::snprintf(text, sizeof text, "[%u.%u.%u.%u]", a[0], a[1], a[2], a[3]);
    return text;
}

bool CSmtpSession::Connect() {
    if (m_bConnected) {
        return true;
    }
    if (!m_net.Initialize()) {
        m_strError = "创建Socket失败";
        return false;
    }
    if (m_nPort == 0 || m_nPort > 65535) {
        m_strError = "连接邮件服务器失败";
        return false;
    }
    m_stream =
        m_net.Connect(m_strServer, static_cast<std::uint16_t>(m_nPort), m_connectLimit, nullptr);
    if (m_stream == nullptr) {
        m_strError = "连接邮件服务器失败";
        return false;
    }
    // A TLS stream need not know the local address: it is taken from the plain one.
    m_localAddress = m_stream->LocalIPv4();
    m_tls = TlsReport{};
    if (m_security == MailSecurity::Tls && !Secure()) {
        return false;
    }
    m_reader.emplace(*m_stream, kMaxSmtpReplyLine, m_replyLimit);
    if (!ReadReply(kGreeting)) {
        m_strError = "邮件服务器不响应,可能太忙";
        CloseSocket();
        return false;
    }
    if (m_security == MailSecurity::None && m_strUser.empty()) {
        Send("HELO " + HeloName() + "\r\n");
        if (!ReadReply(kOk)) {
            CloseSocket();
            return false;
        }
    } else if (!ExtendedHello()) {
        CloseSocket();
        return false;
    }
    m_bConnected = true;
    return true;
}

bool CSmtpSession::Secure() {
    // The reader holds on to the plain stream: it goes first. The handshake is part of getting
    // connected, with the connect's limit.
    m_reader.reset();
    if (!SecureStream(m_net, m_stream, m_strServer, m_connectLimit, m_tls)) {
        m_strError = TlsFailureText(m_tls.failure);
        CloseSocket();
        return false;
    }
    m_reader.emplace(*m_stream, kMaxSmtpReplyLine, m_replyLimit);
    return true;
}

bool CSmtpSession::ExtendedHello() {
    SmtpExtensions extensions;
    if (!Ehlo(extensions)) {
        return false;
    }
    if (m_security == MailSecurity::StartTls && !StartTls(extensions)) {
        return false;
    }
    return m_strUser.empty() || Login(extensions);
}

bool CSmtpSession::Ehlo(SmtpExtensions& extensions) {
    std::vector<std::string> lines;
    Send("EHLO " + HeloName() + "\r\n");
    if (!ReadReply(kOk, &lines)) {
        return false;
    }
    extensions = ParseEhloReply(lines);
    return true;
}

bool CSmtpSession::StartTls(SmtpExtensions& extensions) {
    if (!extensions.startTls) {
        m_strError = kSecureConnectionFailed;
        return false;
    }
    Send("STARTTLS\r\n");
    const SmtpReply reply = Receive();
    // Bytes after the go-ahead came before any handshake: plain text that anyone on the way
    // could have put there, to be read as the first replies over TLS.
    if (reply.outcome != SmtpReply::Outcome::Whole || reply.code != 220 || m_reader->HasUnread()) {
        m_strError = kSecureConnectionFailed;
        return false;
    }
    if (!Secure()) {
        return false;
    }
    // What the server offered in plain text may have been changed on the way: only what it
    // says over TLS counts (RFC 3207).
    return Ehlo(extensions);
}

bool CSmtpSession::Login(const SmtpExtensions& extensions) {
    if (extensions.authPlain) {
        Send("AUTH PLAIN " + EncodeBase64(std::string(1, '\0') + m_strUser + '\0' + m_strPassword) +
             "\r\n");
        return Expect(235, kSmtpLoginRefused);
    }
    if (extensions.authLogin) {
        Send("AUTH LOGIN\r\n");
        if (!Expect(334, kSmtpLoginRefused)) {
            return false;
        }
        Send(EncodeBase64(m_strUser) + "\r\n");
        if (!Expect(334, kSmtpLoginRefused)) {
            return false;
        }
        Send(EncodeBase64(m_strPassword) + "\r\n");
        return Expect(235, kSmtpLoginRefused);
    }
    m_strError = kSmtpNoLogin;
    return false;
}

bool CSmtpSession::SendMessage(CMailMessage& message) {
    if (!m_bConnected) {
        m_strError = "Must be connected";
        return false;
    }
    if (!PrepareMessage(message)) {
        return false;
    }
    return Transmit(message);
}

bool CSmtpSession::PrepareMessage(CMailMessage& message) {
    if (!BuildHeader(message)) {
        return false;
    }
    message.m_strBody = CrLfLines(message.m_strBody);
    const std::string& body = message.m_strBody;
    if (body.size() < 2 || body.compare(body.size() - 2, 2, "\r\n") != 0) {
        message.m_strBody += "\r\n";
    }
    return true;
}

bool CSmtpSession::BuildHeader(CMailMessage& message) {
    if (message.m_arrRecipients.empty()) {
        m_strError = "No Recipients";
        return false;
    }
    if (!IsSafeMailAddress(message.m_strFrom)) {
        m_strError = kBadSender;
        return false;
    }
    std::string to;
    for (std::size_t i = 0; i < message.m_arrRecipients.size(); ++i) {
        const MailRecipient& recipient = message.m_arrRecipients[i];
        to += (i > 0 ? "," : "") + DisplayName(recipient.m_strName) + "<" + recipient.m_strAddress +
              ">";
    }
    message.m_tmTimestamp = m_clock.Now();
    const std::string date = FormatMailDate(message.m_tmTimestamp) + " " +
                             ZoneText(UtcOffsetMinutes(message.m_tmTimestamp));
    message.m_strHeader = "Date: " + date + "\r\nFrom: " + message.m_strFrom + "\r\nTo: " + to +
                          "\r\nSubject: " + EncodeHeaderWords(OneLine(message.m_strSubject)) +
                          "\r\nX-Mailer: " + kMailer + "\r\nMessage-ID: " + MakeMessageId(message) +
                          "\r\nMIME-Version: 1.0\r\nContent-Type: text/plain; charset=GBK"
                          "\r\nContent-Transfer-Encoding: 8bit\r\n\r\n";
    return true;
}

bool CSmtpSession::Transmit(CMailMessage& message) {
    if (!m_bConnected) {
        m_strError = "Must be connected";
        return false;
    }
    Send("MAIL From: <" + message.m_strFrom + ">\r\n");
    if (!ReadReply(kOk)) {
        m_strError = kBadSender;
        return false;
    }
    // A refused recipient does not stop the message; its text stays in the error text.
    for (const MailRecipient& recipient : message.m_arrRecipients) {
        Send("RCPT TO: <" + recipient.m_strAddress + ">\r\n");
        ReadReply(kOk);
    }
    Send("DATA\r\n");
    if (!ReadReply(kData)) {
        return false;
    }
    Send(message.m_strHeader);
    Send(StuffBody(message));
    Send("\r\n.\r\n");
    return ReadReply(kOk);
}

std::string CSmtpSession::StuffBody(const CMailMessage& message) {
    const std::string& body = message.m_strBody;
    std::string out;
    out.reserve(body.size() + 16);
    bool lineStart = true;
    for (char c : body) {
        if (lineStart && c == '.') {
            out += '.';
        }
        out += c;
        lineStart = c == '\n';
    }
    return out;
}

bool CSmtpSession::Disconnect() {
    if (!m_bConnected) {
        return true;
    }
    Send("QUIT\r\n");
    const bool ok = ReadReply(kBye);
    CloseSocket();
    m_bConnected = false;
    return ok;
}

int CSmtpSession::UtcOffsetMinutes(const CivilTime& local) const {
    return LocalUtcOffsetMinutes(local);
}

std::string CSmtpSession::MakeMessageId(const CMailMessage& message) const {
    const std::string& from = message.m_strFrom;
    const std::size_t at = from.rfind('@');
    std::string domain = at == std::string::npos ? std::string() : from.substr(at + 1);
    if (!IsPlainHostName(domain)) {
        domain = "localhost";
    }
    static std::mutex mutex;
    static std::mt19937_64 random{std::random_device{}()};
    std::uint64_t unique;
    {
        std::lock_guard lock(mutex);
        unique = random();
    }
    const CivilTime& t = message.m_tmTimestamp;
    char text[64];
    std::snprintf(text, sizeof text, "<%04d%02d%02d%02d%02d%02d.%016llx@", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, static_cast<unsigned long long>(unique));
    return text + domain + ">";
}

}  // namespace quorlet
