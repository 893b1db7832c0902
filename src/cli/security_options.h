// The security options of quorlet-cli's mail commands: --tls, --stls/--starttls, --user,
// --password and --verbose before the positional arguments, and how the outcome of a handshake
// is printed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mail/mail_tls.h"
#include "settings/mail_security.h"

namespace quorlet::cli {

struct SecurityOptions {
    MailSecurity security = MailSecurity::None;
    std::optional<std::string> user;  // --user (send only)
    std::string password;             // --password (send only)
    bool verbose = false;
    std::vector<std::string> rest;  // the positional arguments
};

// Reads the options up to the first argument that is none; `upgrade` is the name of the
// upgrade's flag ("--stls" or "--starttls"), and `login` allows --user and --password. nullopt
// on a usage error (an unknown option, two security choices, an option without its value).
std::optional<SecurityOptions> ParseSecurityOptions(const std::vector<std::string>& args,
                                                    const char* upgrade, bool login);

// With --verbose, the negotiated protocol ("tls=TLSv1.3") after a handshake; after a failed one
// in any case the reason and the TLS library's words ("tls-failure=untrusted issuer: ...").
void PrintTlsReport(const TlsReport& report, bool verbose);

}  // namespace quorlet::cli
