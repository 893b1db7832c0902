// quorlet-cli send [--tls | --starttls] [--user U --password P] [--verbose] SERVER[:PORT] FROM TO
// SUBJECT BODY-FILE: sends one message as the compose window does (the recipient text split by
// AddRecipients); the body file is UTF-8 text. The options are the SMTP server's security choice
// ("SSL/TLS" or "STARTTLS") and login of the options sheet.
#include "cli/cli.h"
#include "cli/mail_commands.h"
#include "cli/security_options.h"
#include "platform/file_system.h"
#include "send/smtp_session.h"

namespace quorlet::cli {

int SendCommand(const std::vector<std::string>& arguments) {
    const std::optional<SecurityOptions> options =
        ParseSecurityOptions(arguments, "--starttls", true);
    if (!options || options->rest.size() != 5) {
        PrintError("usage: quorlet-cli send " + std::string(kSendSynopsis));
        return 2;
    }
    const std::vector<std::string>& args = options->rest;
    const std::optional<std::string> body = ReadWholeFile(args[4]);
    if (!body) {
        PrintError("cannot read " + args[4]);
        return 1;
    }
    std::string host;
    std::uint16_t port = DefaultSmtpPort(options->security);
    if (!SplitHostPort(args[0], host, port)) {
        PrintLine("连接邮件服务器失败");
        return 1;
    }
    CSmtpSession session(SystemNet(), host, port, SystemClock());
    session.SetSecurity(options->security);
    session.SetLogin(options->user.value_or(""), options->password);
    CMailMessage message;
    message.m_strFrom = args[1];
    if (!message.AddRecipients(args[2])) {
        // The compose window sends to the entries before the faulty piece; say so here.
        PrintError("recipients after a faulty piece are left out: " + args[2]);
    }
    message.m_strSubject = args[3];
    message.m_strBody = Utf8ToGbk(*body);
    const bool connected = session.Connect();
    PrintTlsReport(session.GetTlsReport(), options->verbose);
    if (!connected || !session.SendMessage(message) || !session.Disconnect()) {
        PrintLine(session.GetErrorText());
        return 1;
    }
    PrintLine("OK");
    return 0;
}

}  // namespace quorlet::cli
