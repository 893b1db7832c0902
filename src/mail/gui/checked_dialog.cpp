#include "mail/gui/checked_dialog.h"

namespace quorlet {

bool CCheckedDialog::OnCommand(int id, int code) {
    if (code != BN_CLICKED) {
        return false;
    }
    if (id == m_okId) {
        OnOK();
        return true;
    }
    if (id == m_cancelId) {
        EndDialog(IDCANCEL);
        return true;
    }
    return false;
}

void CCheckedDialog::OnOK() {
    UpdateData(true);
    if (const auto problem = Problem()) {
        if (m_box == ProblemBox::Information) {
            m_prompter.Information(*problem);
        } else {
            m_prompter.Notice(*problem);
        }
        return;
    }
    EndDialog(IDOK);
}

}  // namespace quorlet
