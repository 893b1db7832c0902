// CLogDlg: the online log "上网记录" (dialog 206), run modally. It lists the periods of ".\Fee.ini"
// that began within a range of dates, by default the billing period of today, with the fees and
// their sums in the title.
#pragma once

#include "platform/clock.h"
#include "platform/prompter.h"
#include "ui/dialog.h"

namespace quorlet {

class CLogDlg : public ui::CDialog {
public:
    CLogDlg(Prompter& prompter, const Clock& clock);

    int m_nSettlementDay = 20;  // the day of the month the billing periods end on

protected:
    BOOL OnInitDialog() override;
    bool OnButtonClicked(int id) override;

private:
    void Extract();

    Prompter& m_prompter;
    const Clock& m_clock;
};

}  // namespace quorlet
