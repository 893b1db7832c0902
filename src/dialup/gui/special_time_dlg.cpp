#include "dialup/gui/special_time_dlg.h"

#include "dialup/fee_settings.h"
#include "dialup/holidays.h"
#include "dialup_ids.h"
#include "resource.h"
#include "ui/data_exchange.h"

namespace quorlet {
namespace {

struct PercentField {
    int edit;
    int spin;
};
constexpr PercentField kPercentFields[] = {
    {IDC_SPECIAL_TIME_HOURS_NET, IDC_SPECIAL_TIME_HOURS_NET_SPIN},
    {IDC_SPECIAL_TIME_HOURS_PHONE, IDC_SPECIAL_TIME_HOURS_PHONE_SPIN},
    {IDC_SPECIAL_TIME_WEEKEND_NET, IDC_SPECIAL_TIME_WEEKEND_NET_SPIN},
    {IDC_SPECIAL_TIME_WEEKEND_PHONE, IDC_SPECIAL_TIME_WEEKEND_PHONE_SPIN},
    {IDC_SPECIAL_TIME_HOLIDAY_NET, IDC_SPECIAL_TIME_HOLIDAY_NET_SPIN},
    {IDC_SPECIAL_TIME_HOLIDAY_PHONE, IDC_SPECIAL_TIME_HOLIDAY_PHONE_SPIN},
};

void FillList(const ui::CComboBox& list, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        list.AddString(name);
    }
    list.SetCurSel(0);
}

}  // namespace

CSpecialTimeDlg::CSpecialTimeDlg(Prompter& prompter, std::string holidayPath)
    : CDialog(IDD_SPECIAL_TIME, IDC_SPECIAL_TIME_OK, IDC_SPECIAL_TIME_CANCEL),
      m_prompter(prompter),
      m_holidayPath(std::move(holidayPath)) {}

ui::CListBox CSpecialTimeDlg::HolidayList() const {
    return ui::CListBox(GetDlgItem(IDC_SPECIAL_TIME_HOLIDAYS));
}

void CSpecialTimeDlg::DoDataExchange(ui::CDataExchange& dx) {
    TariffTable& t = m_tariff;
    ui::DDV_MaxChars(dx, IDC_SPECIAL_TIME_BEGIN, kHourChars);
    ui::DDX_Text(dx, IDC_SPECIAL_TIME_BEGIN, t.hBeginTime);
    ui::DDV_MaxChars(dx, IDC_SPECIAL_TIME_END, kHourChars);
    ui::DDX_Text(dx, IDC_SPECIAL_TIME_END, t.hEndTime);
    int* const percents[] = {&t.htNetFare, &t.htTelFare, &t.hwNetFare,
                             &t.hwTelFare, &t.hdNetFare, &t.hdTelFare};
    for (std::size_t i = 0; i < std::size(kPercentFields); ++i) {
        ui::DDV_MaxChars(dx, kPercentFields[i].edit, kPercentChars);
        ui::DDX_Text(dx, kPercentFields[i].edit, *percents[i]);
    }
    ui::DDX_Check(dx, IDC_SPECIAL_TIME_WEEKEND, t.hFare_Weekend);
}

BOOL CSpecialTimeDlg::OnInitDialog() {
    ui::CSpinButtonCtrl(GetDlgItem(IDC_SPECIAL_TIME_BEGIN_SPIN)).SetRange(0, kHourHigh);
    ui::CSpinButtonCtrl(GetDlgItem(IDC_SPECIAL_TIME_END_SPIN)).SetRange(0, kHourHigh);
    for (const PercentField& field : kPercentFields) {
        ui::CSpinButtonCtrl(GetDlgItem(field.spin)).SetRange(0, kPercentHigh);
    }
    CDialog::OnInitDialog();
    FillList(ui::CComboBox(GetDlgItem(IDC_SPECIAL_TIME_MONTH)), MonthNames());
    FillList(ui::CComboBox(GetDlgItem(IDC_SPECIAL_TIME_DAY)), DayNames());
    for (const std::string& entry : ReadHolidayList(m_holidayPath, m_strConnection)) {
        HolidayList().AddString(entry);
    }
    EnableDlgItem(IDC_SPECIAL_TIME_DELETE, false);
    EnableWeekend();
    return TRUE;
}

void CSpecialTimeDlg::EnableWeekend() {
    const bool on = IsDlgButtonChecked(IDC_SPECIAL_TIME_WEEKEND);
    for (int id : {IDC_SPECIAL_TIME_WEEKEND_NET, IDC_SPECIAL_TIME_WEEKEND_PHONE,
                   IDC_SPECIAL_TIME_WEEKEND_NET_SPIN, IDC_SPECIAL_TIME_WEEKEND_PHONE_SPIN}) {
        EnableDlgItem(id, on);
    }
}

void CSpecialTimeDlg::AddHoliday() {
    const ui::CComboBox month(GetDlgItem(IDC_SPECIAL_TIME_MONTH));
    const ui::CComboBox day(GetDlgItem(IDC_SPECIAL_TIME_DAY));
    HolidayList().AddString(
        HolidayEntry(month.GetLBText(month.GetCurSel()), day.GetLBText(day.GetCurSel())));
}

void CSpecialTimeDlg::RemoveHoliday() {
    const ui::CListBox list = HolidayList();
    const int selected = list.GetCurSel();
    if (selected < 0) {
        return;
    }
    list.DeleteString(selected);
    const int next = SelectionAfterRemoval(selected, list.GetCount());
    list.SetCurSel(next);
    EnableDlgItem(IDC_SPECIAL_TIME_DELETE, next >= 0);
}

std::vector<std::string> CSpecialTimeDlg::Holidays() const {
    const ui::CListBox list = HolidayList();
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetCount(); ++i) {
        entries.push_back(list.GetText(i));
    }
    return entries;
}

bool CSpecialTimeDlg::OnButtonClicked(int id) {
    switch (id) {
        case IDC_SPECIAL_TIME_WEEKEND:
            EnableWeekend();
            return true;
        case IDC_SPECIAL_TIME_ADD:
            AddHoliday();
            return true;
        case IDC_SPECIAL_TIME_DELETE:
            RemoveHoliday();
            return true;
        default:
            return CDialog::OnButtonClicked(id);
    }
}

bool CSpecialTimeDlg::OnCommand(int id, int code) {
    if (id == IDC_SPECIAL_TIME_HOLIDAYS && code == LBN_SELCHANGE) {
        EnableDlgItem(IDC_SPECIAL_TIME_DELETE, HolidayList().GetCurSel() >= 0);
        return true;
    }
    return CDialog::OnCommand(id, code);
}

void CSpecialTimeDlg::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    if (!WriteHolidayList(m_holidayPath, m_strConnection, Holidays())) {
        m_prompter.Error(kHolidaysNotSaved);
        return;
    }
    EndDialog(IDOK);
}

}  // namespace quorlet
