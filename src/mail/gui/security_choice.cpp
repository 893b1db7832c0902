#include "mail/gui/security_choice.h"

#include "ui/controls.h"

namespace quorlet {

void FillSecurityChoices(HWND combo, const char* upgradeName) {
    const ui::CComboBox box(combo);
    if (box.GetCount() > 0) {
        return;  // a page shown again keeps its entries
    }
    for (const char* entry : {kSecurityNone, kSecurityTls, upgradeName}) {
        box.AddString(entry);
    }
}

void ShowSecurity(HWND combo, MailSecurity security) {
    ui::CComboBox(combo).SetCurSel(static_cast<int>(security));
}

MailSecurity SelectedSecurity(HWND combo) {
    switch (ui::CComboBox(combo).GetCurSel()) {
        case static_cast<int>(MailSecurity::Tls):
            return MailSecurity::Tls;
        case static_cast<int>(MailSecurity::StartTls):
            return MailSecurity::StartTls;
        default:
            return MailSecurity::None;
    }
}

void DDX_Security(ui::CDataExchange& dx, int id, const char* upgradeName, MailSecurity& value) {
    const HWND combo = GetDlgItem(dx.Dialog(), id);
    if (dx.Saving()) {
        value = SelectedSecurity(combo);
    } else {
        FillSecurityChoices(combo, upgradeName);
        ShowSecurity(combo, value);
    }
}

}  // namespace quorlet
