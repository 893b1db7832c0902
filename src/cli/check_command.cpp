// quorlet-cli check [--tls | --stls] [--verbose] SERVER[:PORT] USER PASSWORD: what one check
// slot does for one account (login, STAT, LIST, TOP n 0 for every message, QUIT), with spool
// files of its own in the current directory (the program may be checking in the same folder with
// the slots' files); prints the counts and, per message, what the preview would show. With
// --tls or --stls the account's security choice is "SSL/TLS" or "STLS".
#include <cinttypes>
#include <cstdio>

#include "cli/cli.h"
#include "cli/mail_commands.h"
#include "cli/security_options.h"
#include "mail/header_decoder.h"
#include "mail/mail_date.h"
#include "mail/pop3_session.h"

namespace quorlet::cli {

int CheckCommand(const std::vector<std::string>& arguments) {
    const std::optional<SecurityOptions> options = ParseSecurityOptions(arguments, "--stls", false);
    if (!options || options->rest.size() != 3) {
        PrintError("usage: quorlet-cli check " + std::string(kCheckSynopsis));
        return 2;
    }
    const std::vector<std::string>& args = options->rest;
    const MailSecurity security = options->security;
    CPop3Session session(SystemNet(), SystemClock());
    session.SetTempFileNames("QlCliList.p3", "QlCliTop.p3");
    std::vector<std::string> rows;
    bool ok = session.Open(args[0], DefaultPop3Port(security), args[1], args[2], security);
    PrintTlsReport(session.m_tls, options->verbose);
    ok = ok && session.Stat();
    if (ok && session.m_nMessages > 0) {
        // As in the check slot: a LIST refused leaves every size -1; one not read whole has
        // closed the connection and ends the check.
        ok = session.List() || session.m_socket.IsOpen();
        for (int i = 1; ok && i <= session.m_nMessages; ++i) {
            ok = session.Top(i, 0);
            if (ok) {
                std::string date;
                NormaliseDate(session.m_strDate, date);
                rows.push_back(
                    std::to_string(i) + "\t" + std::to_string(session.GetMessageSize(i)) + "\t" +
                    DecodeHeaderText(session.m_strFrom, session.m_cEncoding, SystemCharsets()) +
                    "\t" +
                    DecodeHeaderText(session.m_strSubject, session.m_cEncoding, SystemCharsets()) +
                    "\t" + date);
            }
        }
    }
    if (!ok) {
        session.Close();
        PrintLine("error=" + session.m_strError);
        return 1;
    }
    session.Quit();
    session.Close();
    char counts[64];
    std::snprintf(counts, sizeof counts, "count=%d size=%" PRId64, session.m_nMessages,
                  session.m_nMailboxSize);
    PrintLine(counts);
    for (const std::string& row : rows) {
        PrintLine(row);
    }
    return 0;
}

}  // namespace quorlet::cli
