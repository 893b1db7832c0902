// CFeeDlg: "费用设置", the accumulated fees and the tariff of each dial-up connection. Its data
// is the main window's tariff table: opening the window and choosing a connection load that
// connection's stored tariff into it, the rate and discount-time windows change it, and
// "保存设置" writes it to ".\Fare.ini". The running period is priced with its own connection's
// stored tariff whatever this table holds, so opening the window cannot change that price.
// "清除" only marks the totals; the main window clears them when the window has closed.
#pragma once

#include <string>

#include "dialup/fee_calculator.h"
#include "dialup/fee_settings.h"
#include "platform/prompter.h"
#include "platform/remote_access.h"
#include "ui/controls.h"
#include "ui/dialog.h"

namespace quorlet {

class CFeeDlg : public ui::CDialog {
public:
    CFeeDlg(Prompter& prompter, RemoteAccess& remoteAccess, FeeCalculator& fees);

    // Set by the main window before the window opens.
    void SetTotals(double phoneFee, double netFee);

    std::string m_strTotalPhone;
    std::string m_strTotalNet;
    std::string m_strTotal;
    // The user confirmed "清除"; cleared each time the window opens.
    bool m_bClearTotals = false;

protected:
    BOOL OnInitDialog() override;
    bool OnButtonClicked(int id) override;
    bool OnCommand(int id, int code) override;
    void DoDataExchange(ui::CDataExchange& dx) override;

private:
    ui::CComboBox Connections() const;
    std::string SelectedConnection() const;
    void EditRates();
    void EditSpecialTime();
    void SaveSettings();
    void ClearTotals();

    Prompter& m_prompter;
    RemoteAccess& m_remoteAccess;
    FeeCalculator& m_fees;
};

}  // namespace quorlet
