// How a mail connection is protected: not at all (as mail servers were reached for years), with
// TLS from the first byte (POP3 on 995, SMTP on 465), or upgraded after the greeting (POP3
// "STLS", SMTP "STARTTLS" on 587). Stored as "0", "1" or "2"; a missing or unknown value is
// none, so settings written before the choice existed behave as they always did.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorlet {

enum class MailSecurity { None = 0, Tls = 1, StartTls = 2 };

MailSecurity MailSecurityFromText(std::string_view text);
std::string MailSecurityText(MailSecurity security);

// The port used when the server text names none.
std::uint16_t DefaultPop3Port(MailSecurity security);
std::uint16_t DefaultSmtpPort(MailSecurity security);

}  // namespace quorlet
