// One watched POP3 mailbox, and the table of them the main window holds (in list order).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/mail_security.h"

namespace quorlet {

struct AccountRecord {
    std::string m_strAccount;   // display name, column 0 of the main list
    std::string m_strServer;    // POP3 server, column 1
    std::string m_strUser;      // sent with USER
    std::string m_strPassword;  // in clear in memory, sent with PASS
    bool m_bEnabled = true;     // takes part in checks; never stored
    // After the include flag, so that records written as {name, server, user, password, flag}
    // still mean what they did.
    MailSecurity m_nSecurity = MailSecurity::None;  // "Security"; the port follows it
};

inline constexpr std::size_t kMaxAccounts = 100;

using AccountTable = std::vector<AccountRecord>;

}  // namespace quorlet
