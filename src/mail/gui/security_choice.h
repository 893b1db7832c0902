// The drop-down "安全连接" of the account dialogs and of the options sheet's mail page. Its entries
// stand in the order of MailSecurity's values, so an entry's index is the value that is stored.
// Choosing an entry leaves the server text alone: a port written there still wins, and only a
// server without one is reached on the choice's default port.
#pragma once

#include <windows.h>

#include "settings/mail_security.h"
#include "ui/data_exchange.h"

namespace quorlet {

inline constexpr const char* kSecurityNone = "无";
inline constexpr const char* kSecurityTls = "SSL/TLS";
// The upgrade after the greeting is named after the command that asks for it.
inline constexpr const char* kPop3Upgrade = "STLS";
inline constexpr const char* kSmtpUpgrade = "STARTTLS";

// Puts the three entries into an empty drop-down list; `upgradeName` names the third.
void FillSecurityChoices(HWND combo, const char* upgradeName);
void ShowSecurity(HWND combo, MailSecurity security);
// The selected entry's value; none when nothing is selected.
MailSecurity SelectedSecurity(HWND combo);

// Field exchange for a dialog that shows the choice in control `id`: filled when the controls
// are first filled, then the value is shown or read like any other field.
void DDX_Security(ui::CDataExchange& dx, int id, const char* upgradeName, MailSecurity& value);

}  // namespace quorlet
