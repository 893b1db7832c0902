#include "mail/gui/checked_dialog.h"

namespace quorlet {

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
