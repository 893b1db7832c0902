#include "app/gui/password_dlg.h"

#include "app_ids.h"
#include "resource.h"
#include "settings/field_limits.h"
#include "ui/data_exchange.h"

namespace quorlet {

CPasswordDlg::CPasswordDlg(Prompter& prompter)
    : CDialog(IDD_PASSWORD, IDC_PASSWORD_OK, IDC_PASSWORD_CANCEL), m_prompter(prompter) {}

void CPasswordDlg::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Control(dx, IDC_PASSWORD_OK, m_okButton);
    ui::DDX_Control(dx, IDC_PASSWORD_CANCEL, m_cancelButton);
    // No stored password is longer than its cipher block holds.
    ui::DDV_MaxBytes(dx, IDC_PASSWORD_ENTERED, m_enteredEdit, kPasswordBytes);
    ui::DDX_Text(dx, IDC_PASSWORD_ENTERED, m_strEntered);
}

BOOL CPasswordDlg::OnInitDialog() {
    m_strEntered.clear();
    CDialog::OnInitDialog();
    // The password dialog comes up before any other window of the program.
    SetForegroundWindow(m_hWnd);
    return TRUE;
}

bool CPasswordDlg::OnButtonClicked(int id) {
    if (id == IDCANCEL) {
        // Esc and the caption's close box: nothing. The program may not start without the
        // password, and only "取消" ends it.
        return true;
    }
    return CDialog::OnButtonClicked(id);
}

void CPasswordDlg::OnOK() {
    UpdateData(true);
    if (m_strEntered == m_strPassword) {
        EndDialog(IDOK);
        return;
    }
    m_prompter.Show(kWrongPasswordMessage, kTitleInformation, MessageIcon::Information,
                    MessageButtons::Ok);
    HWND edit = GetDlgItem(IDC_PASSWORD_ENTERED);
    SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

}  // namespace quorlet
