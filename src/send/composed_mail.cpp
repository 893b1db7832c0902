#include "send/composed_mail.h"

#include "send/mail_message.h"
#include "send/smtp_session.h"

namespace quorlet {

std::optional<std::string> RefusedRecipientPiece(std::string_view recipients) {
    // AddRecipients reads each piece on its own, so asking it piece by piece finds the one it
    // stops at without a second copy of its rules.
    std::size_t start = 0;
    for (;;) {
        const std::size_t semicolon = recipients.find(';', start);
        const std::string_view piece =
            recipients.substr(start, semicolon == std::string_view::npos ? std::string_view::npos
                                                                         : semicolon - start);
        if (CMailMessage probe; !probe.AddRecipients(piece)) {
            return std::string(piece);
        }
        if (semicolon == std::string_view::npos) {
            return std::nullopt;
        }
        start = semicolon + 1;
    }
}

std::string RefusedRecipientNotice(const std::string& piece) {
    return "收信人地址“" + piece + "”有误,请重新填写 !";
}

std::optional<std::string> ComposeProblem(const ComposedMail& mail) {
    if (mail.server.empty()) {
        return kNoSmtpServer;
    }
    if (mail.recipients.empty()) {
        return kNoRecipients;
    }
    if (const auto piece = RefusedRecipientPiece(mail.recipients)) {
        return RefusedRecipientNotice(*piece);
    }
    if (mail.subject.empty() && mail.body.empty()) {
        return kNoContent;
    }
    return std::nullopt;
}

std::optional<std::string> SendComposedMail(Net& net, const Clock& clock,
                                            const ComposedMail& mail) {
    std::string host;
    std::uint16_t port = DefaultSmtpPort(mail.security);
    if (!SplitHostPort(mail.server, host, port)) {
        return "连接邮件服务器失败";
    }
    CSmtpSession session(net, host, port, clock);
    session.SetSecurity(mail.security);
    session.SetLogin(mail.user, mail.password);
    // Declared after the session, so it goes first, as the send thread always had it.
    CMailMessage message;
    message.m_strFrom = mail.replyAddress;
    message.AddRecipients(mail.recipients);  // the window checked the text before sending
    message.m_strSubject = mail.subject;
    message.m_strBody = mail.body;
    if (!session.Connect() || !session.SendMessage(message) || !session.Disconnect()) {
        // After a failed SendMessage the session is still connected: its end says QUIT.
        return session.GetErrorText();
    }
    return std::nullopt;
}

std::string BodyTemplateText(std::string bytes) {
    if (const std::size_t nul = bytes.find('\0'); nul != std::string::npos) {
        bytes.resize(nul);
    }
    return bytes;
}

}  // namespace quorlet
