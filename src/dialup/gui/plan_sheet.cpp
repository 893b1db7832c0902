#include "dialup/gui/plan_sheet.h"

#include "dialup/plan_check.h"
#include "dialup_ids.h"
#include "resource.h"
#include "settings/field_limits.h"
#include "ui/data_exchange.h"

namespace quorlet {

CPlanPage::CPlanPage(int templateId, Prompter& prompter, Sound& sound)
    : CPropertyPage(templateId),
      m_prompter(prompter),
      m_soundFile(prompter, sound,
                  {IDC_PLAN_SOUND_FILE, IDC_PLAN_CHOOSE_SOUND, IDC_PLAN_PLAY_SOUND, IDI_BUTTON_OPEN,
                   IDI_BUTTON_PLAY},
                  kLongTextBytes) {}

CPlanDlg1::CPlanDlg1(Prompter& prompter, Sound& sound)
    : CPlanPage(IDD_PLAN_SESSION, prompter, sound) {}

CPlanDlg2::CPlanDlg2(Prompter& prompter, Sound& sound)
    : CPlanPage(IDD_PLAN_TOTAL, prompter, sound) {}

void CPlanPage::CopyIn(const PlanPageFields& fields) {
    m_strTime = fields.time;
    m_strFee = fields.fee;
    m_bHangUp = fields.hangUp;
    m_strWav = fields.soundFile;
}

PlanPageFields CPlanPage::CopyOut() const {
    return {m_strTime, m_strFee, m_bHangUp, m_strWav};
}

void CPlanPage::DoDataExchange(ui::CDataExchange& dx) {
    m_soundFile.Exchange(dx);
    ui::DDV_MaxChars(dx, IDC_PLAN_TIME, kPlanTimeChars);
    ui::DDX_Text(dx, IDC_PLAN_TIME, m_strTime);
    ui::DDV_MaxChars(dx, IDC_PLAN_FEE, kPlanFeeChars);
    ui::DDX_Text(dx, IDC_PLAN_FEE, m_strFee);
    ui::DDX_Text(dx, IDC_PLAN_SOUND_FILE, m_strWav);
    // The first button of the group, "挂断线路", is the hang-up choice.
    int radio = m_bHangUp ? 0 : 1;
    ui::DDX_Radio(dx, IDC_PLAN_HANG_UP, radio);
    if (dx.Saving()) {
        m_bHangUp = radio == 0;
    }
}

BOOL CPlanPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_soundFile.Enable(!m_bHangUp);
    return TRUE;
}

bool CPlanPage::OnButtonClicked(int id) {
    switch (id) {
        case IDC_PLAN_HANG_UP:
            m_soundFile.Enable(false);
            return true;
        case IDC_PLAN_SOUND:
            m_soundFile.Enable(true);
            return true;
        default:
            return m_soundFile.OnButtonClicked(id) || CPropertyPage::OnButtonClicked(id);
    }
}

bool CPlanPage::OnKillActive() {
    if (const auto message = CheckPlanPage(
            GetDlgItemText(IDC_PLAN_TIME), GetDlgItemText(IDC_PLAN_FEE),
            IsDlgButtonChecked(IDC_PLAN_HANG_UP), GetDlgItemText(IDC_PLAN_SOUND_FILE))) {
        m_prompter.Notice(*message);
        return false;
    }
    return CPropertyPage::OnKillActive();
}

}  // namespace quorlet
