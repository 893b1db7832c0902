#include "dialup/gui/rate_dlg.h"

#include "dialup_ids.h"
#include "resource.h"
#include "ui/data_exchange.h"

namespace quorlet {

CRateDlg::CRateDlg() : CDialog(IDD_RATE, IDC_RATE_OK, IDC_RATE_CANCEL) {}

void CRateDlg::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Text(dx, IDC_RATE_PHONE_FARE, m_texts.phoneFare);
    ui::DDX_Text(dx, IDC_RATE_PHONE_UNIT, m_texts.phoneUnit);
    ui::DDX_Text(dx, IDC_RATE_NET_FARE, m_texts.netFare);
    ui::DDX_Text(dx, IDC_RATE_NET_UNIT, m_texts.netUnit);
}

}  // namespace quorlet
