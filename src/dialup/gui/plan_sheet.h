// The plan sheet CPlan ("上网计划") and its two pages, CPlanDlg1 ("每次", a limit in minutes) and
// CPlanDlg2 ("累计", a limit in hours). A page shows one plan's texts and keeps them until the
// sheet ends; the main window fills the pages before each showing and takes them back only
// after OK.
#pragma once

#include <string>

#include "dialup/plan_pages.h"
#include "platform/prompter.h"
#include "platform/sound.h"
#include "ui/property_sheet.h"
#include "ui/sound_file_field.h"

namespace quorlet {

class CPlanPage : public ui::CPropertyPage {
public:
    CPlanPage(int templateId, Prompter& prompter, Sound& sound);

    std::string m_strTime;
    std::string m_strFee;
    std::string m_strWav;
    bool m_bHangUp = true;

    void CopyIn(const PlanPageFields& fields);
    PlanPageFields CopyOut() const;

protected:
    BOOL OnInitDialog() override;
    bool OnButtonClicked(int id) override;
    // Both limits must be given, and a sound file with the reminder.
    bool OnKillActive() override;
    void DoDataExchange(ui::CDataExchange& dx) override;

private:
    Prompter& m_prompter;
    ui::CSoundFileField m_soundFile;
};

class CPlanDlg1 : public CPlanPage {
public:
    CPlanDlg1(Prompter& prompter, Sound& sound);
};

class CPlanDlg2 : public CPlanPage {
public:
    CPlanDlg2(Prompter& prompter, Sound& sound);
};

class CPlan : public ui::CPropertySheet {
public:
    CPlan() : CPropertySheet(kPlanSheetTitle) {}
};

}  // namespace quorlet
