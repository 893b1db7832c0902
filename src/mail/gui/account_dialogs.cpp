#include "mail/gui/account_dialogs.h"

#include "mail/filters.h"
#include "mail/gui/security_choice.h"
#include "mail_ids.h"
#include "resource.h"
#include "settings/field_limits.h"
#include "ui/data_exchange.h"

namespace quorlet {
namespace {

void SetUpIconButtons(ui::CIconButton& ok, ui::CIconButton& cancel) {
    ok.SetIcon(IDI_BUTTON_OK, 0, 16, 16);
    cancel.SetIcon(IDI_BUTTON_CANCEL, 0, 16, 16);
}

}  // namespace

// The checked dialogs with icon buttons

CIconCheckedDialog::CIconCheckedDialog(int templateId, ProblemBox box, Prompter& prompter)
    : CCheckedDialog(templateId, IDC_ACCOUNT_OK, IDC_ACCOUNT_CANCEL, box, prompter) {}

void CIconCheckedDialog::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Control(dx, IDC_ACCOUNT_OK, m_okButton);
    ui::DDX_Control(dx, IDC_ACCOUNT_CANCEL, m_cancelButton);
}

BOOL CIconCheckedDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetUpIconButtons(m_okButton, m_cancelButton);
    return TRUE;
}

// "新增"

CNewAccountDlg::CNewAccountDlg(Prompter& prompter)
    : CIconCheckedDialog(IDD_NEW_ACCOUNT, ProblemBox::Information, prompter) {}

void CNewAccountDlg::DoDataExchange(ui::CDataExchange& dx) {
    CIconCheckedDialog::DoDataExchange(dx);
    // Each field holds what its registry value is read back into.
    ui::DDV_MaxBytes(dx, IDC_NEW_ACCOUNT_NAME, m_edits[0], kLongTextBytes);
    ui::DDV_MaxBytes(dx, IDC_NEW_ACCOUNT_SERVER, m_edits[1], kLongTextBytes);
    ui::DDV_MaxBytes(dx, IDC_NEW_ACCOUNT_USER, m_edits[2], kLongTextBytes);
    ui::DDV_MaxBytes(dx, IDC_NEW_ACCOUNT_PASSWORD, m_edits[3], kPasswordBytes);
    ui::DDX_Text(dx, IDC_NEW_ACCOUNT_NAME, m_account.m_strAccount);
    ui::DDX_Text(dx, IDC_NEW_ACCOUNT_SERVER, m_account.m_strServer);
    ui::DDX_Text(dx, IDC_NEW_ACCOUNT_USER, m_account.m_strUser);
    ui::DDX_Text(dx, IDC_NEW_ACCOUNT_PASSWORD, m_account.m_strPassword);
    DDX_Security(dx, IDC_NEW_ACCOUNT_SECURITY, kPop3Upgrade, m_account.m_nSecurity);
}

BOOL CNewAccountDlg::OnInitDialog() {
    m_account = AccountRecord{};  // the fields are empty each time the dialog opens
    return CIconCheckedDialog::OnInitDialog();
}

std::optional<std::string> CNewAccountDlg::Problem() const {
    return NewAccountProblem(m_account);
}

// "更改账户名"

CRenameDlg::CRenameDlg(Prompter& prompter)
    : CIconCheckedDialog(IDD_RENAME_ACCOUNT, ProblemBox::Notice, prompter) {}

void CRenameDlg::DoDataExchange(ui::CDataExchange& dx) {
    CIconCheckedDialog::DoDataExchange(dx);
    ui::DDV_MaxBytes(dx, IDC_RENAME_ACCOUNT_NAME, m_nameEdit, kLongTextBytes);
    ui::DDX_Text(dx, IDC_RENAME_ACCOUNT_NAME, m_strName);
}

std::optional<std::string> CRenameDlg::Problem() const {
    return EntryProblem(m_strName);
}

// "修改"

CModifyAccountDlg::CModifyAccountDlg(Prompter& prompter)
    : CDialog(IDD_MODIFY_ACCOUNT, IDC_ACCOUNT_OK, IDC_ACCOUNT_CANCEL),
      m_prompter(prompter),
      m_renameDlg(prompter) {}

void CModifyAccountDlg::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Control(dx, IDC_ACCOUNT_OK, m_okButton);
    ui::DDX_Control(dx, IDC_ACCOUNT_CANCEL, m_cancelButton);
    ui::DDX_Control(dx, IDC_MODIFY_ACCOUNT_DELETE, m_deleteButton);
    ui::DDV_MaxBytes(dx, IDC_MODIFY_ACCOUNT_SERVER, m_edits[0], kLongTextBytes);
    ui::DDV_MaxBytes(dx, IDC_MODIFY_ACCOUNT_USER, m_edits[1], kLongTextBytes);
    ui::DDV_MaxBytes(dx, IDC_MODIFY_ACCOUNT_PASSWORD, m_edits[2], kPasswordBytes);
}

BOOL CModifyAccountDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetUpIconButtons(m_okButton, m_cancelButton);
    FillSecurityChoices(GetDlgItem(IDC_MODIFY_ACCOUNT_SECURITY), kPop3Upgrade);
    m_editor = AccountEditor(m_accounts);
    for (const AccountRecord& account : m_accounts) {
        Names().AddString(account.m_strAccount);
    }
    ShowFields({});
    CheckDlgButton(IDC_MODIFY_ACCOUNT_MASK, true);
    OnMaskChanged();
    EnableDlgItem(IDC_MODIFY_ACCOUNT_DELETE, false);
    SetFocus(Names());
    return FALSE;
}

bool CModifyAccountDlg::OnCommand(int id, int code) {
    if (id != IDC_MODIFY_ACCOUNT_NAMES) {
        return false;
    }
    switch (code) {
        case LBN_SELCHANGE:
            OnSelectionChanged();
            return true;
        case LBN_DBLCLK:
            OnRename();
            return true;
        default:
            return false;
    }
}

bool CModifyAccountDlg::OnButtonClicked(int id) {
    switch (id) {
        case IDC_MODIFY_ACCOUNT_DELETE:
            OnDelete();
            return true;
        case IDC_MODIFY_ACCOUNT_MASK:
            OnMaskChanged();
            return true;
        default:
            return CDialog::OnButtonClicked(id);  // "确定" and "取消"
    }
}

void CModifyAccountDlg::OnOK() {
    Confirm();
}

ui::CListBox CModifyAccountDlg::Names() const {
    return ui::CListBox(GetDlgItem(IDC_MODIFY_ACCOUNT_NAMES));
}

AccountFields CModifyAccountDlg::ReadFields() const {
    return {GetDlgItemText(IDC_MODIFY_ACCOUNT_SERVER), GetDlgItemText(IDC_MODIFY_ACCOUNT_USER),
            GetDlgItemText(IDC_MODIFY_ACCOUNT_PASSWORD),
            SelectedSecurity(GetDlgItem(IDC_MODIFY_ACCOUNT_SECURITY))};
}

void CModifyAccountDlg::ShowFields(const AccountFields& fields) {
    SetDlgItemText(IDC_MODIFY_ACCOUNT_SERVER, fields.server);
    SetDlgItemText(IDC_MODIFY_ACCOUNT_USER, fields.user);
    SetDlgItemText(IDC_MODIFY_ACCOUNT_PASSWORD, fields.password);
    ShowSecurity(GetDlgItem(IDC_MODIFY_ACCOUNT_SECURITY), fields.security);
}

void CModifyAccountDlg::OnSelectionChanged() {
    const int selected = Names().GetCurSel();
    if (selected < 0) {
        return;
    }
    EnableDlgItem(IDC_MODIFY_ACCOUNT_DELETE, true);
    ShowFields(m_editor.Select(static_cast<std::size_t>(selected), ReadFields()));
}

void CModifyAccountDlg::OnRename() {
    const int selected = Names().GetCurSel();
    if (selected < 0) {
        return;
    }
    m_renameDlg.m_strName = m_editor.Table()[static_cast<std::size_t>(selected)].m_strAccount;
    if (m_renameDlg.DoModal(m_hWnd) != IDOK) {
        return;
    }
    m_editor.Rename(static_cast<std::size_t>(selected), m_renameDlg.m_strName);
    Names().DeleteString(selected);
    Names().InsertString(selected, m_renameDlg.m_strName);
    Names().SetCurSel(selected);
}

void CModifyAccountDlg::OnDelete() {
    const int selected = Names().GetCurSel();
    if (selected < 0) {
        return;
    }
    const auto next = m_editor.Remove(static_cast<std::size_t>(selected));
    Names().DeleteString(selected);
    if (next) {
        Names().SetCurSel(static_cast<int>(*next));
        ShowFields(m_editor.FieldsOf(*next));
    } else {
        ShowFields({});
        EnableDlgItem(IDC_MODIFY_ACCOUNT_DELETE, false);
    }
}

void CModifyAccountDlg::OnMaskChanged() {
    HWND password = GetDlgItem(IDC_MODIFY_ACCOUNT_PASSWORD);
    ui::CEdit(password).SetPasswordChar(IsDlgButtonChecked(IDC_MODIFY_ACCOUNT_MASK) ? L'*' : 0);
    ::InvalidateRect(password, nullptr, TRUE);
    SetFocus(password);
}

void CModifyAccountDlg::Confirm() {
    if (Names().GetCurSel() >= 0) {
        m_editor.Confirm(ReadFields());
    }
    m_accounts = m_editor.Table();
    EndDialog(IDOK);
}

}  // namespace quorlet
