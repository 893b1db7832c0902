// CRateDlg: "费率设置", the telephone and Internet fares of one connection with their units,
// edited as texts. The fee window fills the texts and takes them back after "确定"; nothing is
// checked here.
#pragma once

#include "dialup/fee_settings.h"
#include "ui/dialog.h"

namespace quorlet {

class CRateDlg : public ui::CDialog {
public:
    CRateDlg();

    RateTexts m_texts;

protected:
    void DoDataExchange(ui::CDataExchange& dx) override;
};

}  // namespace quorlet
