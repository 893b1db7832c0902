// CSpecialTimeDlg: "特价时间设置", when one connection is charged less: the daily discount hours,
// the weekend and the holidays, each with its two percentages. The hours and percentages are a
// copy of the tariff, which the fee window takes back after "确定"; the holidays are the
// connection's section of ".\Holiday.ini", written by "确定" itself.
#pragma once

#include <string>
#include <vector>

#include "dialup/tariff.h"
#include "platform/prompter.h"
#include "ui/controls.h"
#include "ui/dialog.h"

namespace quorlet {

class CSpecialTimeDlg : public ui::CDialog {
public:
    CSpecialTimeDlg(Prompter& prompter, std::string holidayPath);

    TariffTable m_tariff;
    std::string m_strConnection;  // whose holidays are shown and written

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnButtonClicked(int id) override;
    bool OnCommand(int id, int code) override;
    void DoDataExchange(ui::CDataExchange& dx) override;

private:
    void EnableWeekend();
    void AddHoliday();
    void RemoveHoliday();
    std::vector<std::string> Holidays() const;
    ui::CListBox HolidayList() const;

    Prompter& m_prompter;
    std::string m_holidayPath;
};

}  // namespace quorlet
