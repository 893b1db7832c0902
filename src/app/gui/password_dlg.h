// CPasswordDlg: the startup password. It ends with OK only after the stored password has been
// typed exactly; otherwise the only way out is "取消".
#pragma once

#include <string>

#include "platform/prompter.h"
#include "ui/byte_limited_edit.h"
#include "ui/dialog.h"
#include "ui/hover_button.h"

namespace quorlet {

inline constexpr const char* kWrongPasswordMessage = "密码错误,请重新输入 !";

class CPasswordDlg : public ui::CDialog {
public:
    explicit CPasswordDlg(Prompter& prompter);

    std::string m_strPassword;  // the stored password, set by the caller
    std::string m_strEntered;   // what was typed

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;  // "确定" and Enter: ends only with the right password
    bool OnButtonClicked(int id) override;
    void DoDataExchange(ui::CDataExchange& dx) override;

private:
    Prompter& m_prompter;
    ui::CHoverButton m_okButton;
    ui::CHoverButton m_cancelButton;
    ui::CByteLimitedEdit m_enteredEdit;
};

}  // namespace quorlet
