#include "dialup/gui/fee_dlg.h"

#include "dialup/gui/rate_dlg.h"
#include "dialup/gui/special_time_dlg.h"
#include "dialup_ids.h"
#include "resource.h"
#include "ui/data_exchange.h"

namespace quorlet {

CFeeDlg::CFeeDlg(Prompter& prompter, RemoteAccess& remoteAccess, FeeCalculator& fees)
    : CDialog(IDD_FEE, IDC_FEE_BACK),
      m_prompter(prompter),
      m_remoteAccess(remoteAccess),
      m_fees(fees) {}

void CFeeDlg::SetTotals(double phoneFee, double netFee) {
    const FeeTotalsTexts texts = FormatFeeTotals(phoneFee, netFee);
    m_strTotalPhone = texts.phone;
    m_strTotalNet = texts.net;
    m_strTotal = texts.total;
}

void CFeeDlg::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Text(dx, IDC_FEE_TOTAL_PHONE, m_strTotalPhone);
    ui::DDX_Text(dx, IDC_FEE_TOTAL_NET, m_strTotalNet);
    ui::DDX_Text(dx, IDC_FEE_TOTAL, m_strTotal);
}

ui::CComboBox CFeeDlg::Connections() const {
    return ui::CComboBox(GetDlgItem(IDC_FEE_CONNECTION));
}

std::string CFeeDlg::SelectedConnection() const {
    const ui::CComboBox list = Connections();
    const int selected = list.GetCurSel();
    return selected < 0 ? std::string() : list.GetLBText(selected);
}

BOOL CFeeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const auto entries = m_remoteAccess.EnumEntries();
    if (!entries || entries->empty()) {
        m_prompter.Show(kFeeNeedsDialUpEntry, "", MessageIcon::Stop, MessageButtons::Ok);
        EndDialog(IDCANCEL);
        return TRUE;
    }
    const ui::CComboBox list = Connections();
    for (const std::string& entry : *entries) {
        list.AddString(entry);
    }
    list.SetCurSel(0);
    m_fees.LoadTariff(SelectedConnection());
    m_bClearTotals = false;
    return TRUE;
}

bool CFeeDlg::OnCommand(int id, int code) {
    if (id == IDC_FEE_CONNECTION && code == CBN_SELCHANGE) {
        // Edits of the connection chosen before that were not saved are dropped.
        m_fees.LoadTariff(SelectedConnection());
        return true;
    }
    return CDialog::OnCommand(id, code);
}

bool CFeeDlg::OnButtonClicked(int id) {
    switch (id) {
        case IDC_FEE_TIME_SETTINGS:
            EditSpecialTime();
            return true;
        case IDC_FEE_RATE_SETTINGS:
            EditRates();
            return true;
        case IDC_FEE_SAVE:
            SaveSettings();
            return true;
        case IDC_FEE_CLEAR:
            ClearTotals();
            return true;
        default:
            return CDialog::OnButtonClicked(id);
    }
}

void CFeeDlg::EditRates() {
    CRateDlg rates;
    rates.m_texts = RateTextsOf(m_fees.m_tariff);
    if (rates.DoModal(m_hWnd) == IDOK) {
        TakeRates(m_fees.m_tariff, rates.m_texts);
    }
}

void CFeeDlg::EditSpecialTime() {
    CSpecialTimeDlg times(m_prompter, m_fees.HolidayPath());
    times.m_tariff = m_fees.m_tariff;
    times.m_strConnection = SelectedConnection();
    if (times.DoModal(m_hWnd) == IDOK) {
        // The window edited a copy of the whole table, with the rates as they were.
        m_fees.m_tariff = times.m_tariff;
    }
}

void CFeeDlg::SaveSettings() {
    const std::string connection = SelectedConnection();
    if (connection.empty()) {
        return;
    }
    if (m_fees.SaveTariff(connection)) {
        m_prompter.Notice(kFeeSettingsSaved);
    } else {
        m_prompter.Error(kFeeSettingsNotSaved);
    }
}

void CFeeDlg::ClearTotals() {
    if (!m_prompter.AskYesNo(kAskClearTotals, kTitleNotice, MessageIcon::Information)) {
        return;
    }
    m_bClearTotals = true;
    const FeeTotalsTexts cleared = ClearedFeeTotals();
    m_strTotalPhone = cleared.phone;
    m_strTotalNet = cleared.net;
    m_strTotal = cleared.total;
    UpdateData(false);
}

}  // namespace quorlet
