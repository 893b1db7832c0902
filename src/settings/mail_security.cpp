#include "settings/mail_security.h"

namespace quorlet {

MailSecurity MailSecurityFromText(std::string_view text) {
    if (text == "1") {
        return MailSecurity::Tls;
    }
    if (text == "2") {
        return MailSecurity::StartTls;
    }
    return MailSecurity::None;
}

std::string MailSecurityText(MailSecurity security) {
    return std::to_string(static_cast<int>(security));
}

std::uint16_t DefaultPop3Port(MailSecurity security) {
    return security == MailSecurity::Tls ? 995 : 110;
}

std::uint16_t DefaultSmtpPort(MailSecurity security) {
    switch (security) {
        case MailSecurity::Tls:
            return 465;
        case MailSecurity::StartTls:
            return 587;
        case MailSecurity::None:
            break;
    }
    return 25;
}

}  // namespace quorlet
