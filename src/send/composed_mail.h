// A message as the compose window hands it over: the SMTP server and reply address from the
// settings and what the user typed. The checks the window makes before anything is sent, and the
// sending itself, which the window's send thread runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/net.h"
#include "settings/mail_security.h"

namespace quorlet {

struct ComposedMail {
    std::string server;        // "host" or "host:port", as account servers are written
    std::string replyAddress;  // MAIL From and the From header
    std::string recipients;    // separated by ";", each "address" or "name<address>"
    std::string subject;
    std::string body;
    // From the settings: the SMTP server's security and login (none with an empty user name).
    MailSecurity security = MailSecurity::None;
    std::string user{};
    std::string password{};
};

// The port of a server written without one, when it asks for no security (DefaultSmtpPort
// gives the port of each choice).
inline constexpr std::uint16_t kSmtpPort = 25;

inline constexpr const char* kNoSmtpServer = "请设置SMTP地址 !";
inline constexpr const char* kNoRecipients = "请填写收信人地址 !";
inline constexpr const char* kNoContent = "信件无内容 !";

// The notice that keeps the message from going, or nullopt when it may go: no server, no
// recipients, a recipient text that cannot be read whole (naming the faulty piece, so that no
// message goes to only some of the recipients), or neither subject nor body.
std::optional<std::string> ComposeProblem(const ComposedMail& mail);

// The first ";"-separated piece of a recipient text that CMailMessage::AddRecipients refuses;
// nullopt when it takes the whole text.
std::optional<std::string> RefusedRecipientPiece(std::string_view recipients);

// The notice for such a piece.
std::string RefusedRecipientNotice(const std::string& piece);

// Connects, sends and disconnects; the session's error text after the first step that failed,
// nullopt when the message went out. A server whose port cannot be read fails as a connection
// would; a server without a port is reached on the port of its security choice. Runs on the send
// thread; waits for the network as long as the session's limits allow.
std::optional<std::string> SendComposedMail(Net& net, const Clock& clock, const ComposedMail& mail);

// The body template's text as read from its file: it ends at the first NUL byte.
std::string BodyTemplateText(std::string bytes);

}  // namespace quorlet
