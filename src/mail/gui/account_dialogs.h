// The account dialogs: "新增" (add an account), "修改" (change, rename and delete accounts) and
// "更改账户名" (rename one). They move values between their controls and the rules of
// mail/accounts.h.
#pragma once

#include <array>
#include <string>

#include "mail/accounts.h"
#include "mail/gui/checked_dialog.h"
#include "platform/prompter.h"
#include "ui/byte_limited_edit.h"
#include "ui/controls.h"
#include "ui/dialog.h"
#include "ui/icon_button.h"

namespace quorlet {

// A checked dialog whose confirm and cancel buttons are the icon buttons IDC_ACCOUNT_OK and
// IDC_ACCOUNT_CANCEL.
class CIconCheckedDialog : public CCheckedDialog {
public:
    CIconCheckedDialog(int templateId, ProblemBox box, Prompter& prompter);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(ui::CDataExchange& dx) override;

private:
    ui::CIconButton m_okButton;
    ui::CIconButton m_cancelButton;
};

// "新增" (dialog 130): the four fields of a new account and its "安全连接"; ends with OK only when
// the four are filled.
class CNewAccountDlg : public CIconCheckedDialog {
public:
    explicit CNewAccountDlg(Prompter& prompter);

    AccountRecord m_account;  // the fields, after OK

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(ui::CDataExchange& dx) override;
    std::optional<std::string> Problem() const override;

private:
    std::array<ui::CByteLimitedEdit, 4> m_edits;  // name, server, user, password
};

// "更改账户名" (dialog 146): one name, which may not be empty.
class CRenameDlg : public CIconCheckedDialog {
public:
    explicit CRenameDlg(Prompter& prompter);

    std::string m_strName;

protected:
    void DoDataExchange(ui::CDataExchange& dx) override;
    std::optional<std::string> Problem() const override;

private:
    ui::CByteLimitedEdit m_nameEdit;
};

// "修改" (dialog 132): the account names in a list; the selected account's server, "安全连接",
// user name and password; renaming by double-click and deleting by "删除".
class CModifyAccountDlg : public ui::CDialog {
public:
    explicit CModifyAccountDlg(Prompter& prompter);

    AccountTable m_accounts;  // set by the caller; the changed table after OK

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnButtonClicked(int id) override;
    bool OnCommand(int id, int code) override;
    void DoDataExchange(ui::CDataExchange& dx) override;

private:
    AccountFields ReadFields() const;
    void ShowFields(const AccountFields& fields);
    void OnSelectionChanged();
    void OnRename();
    void OnDelete();
    void OnMaskChanged();
    void Confirm();
    ui::CListBox Names() const;

    Prompter& m_prompter;
    AccountEditor m_editor{{}};
    CRenameDlg m_renameDlg;
    ui::CIconButton m_okButton;
    ui::CIconButton m_cancelButton;
    ui::CIconButton m_deleteButton;
    std::array<ui::CByteLimitedEdit, 3> m_edits;  // server, user, password
};

}  // namespace quorlet
