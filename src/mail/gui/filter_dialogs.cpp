#include "mail/gui/filter_dialogs.h"

#include "mail_ids.h"
#include "resource.h"
#include "ui/data_exchange.h"
#include "ui/list_box_extent.h"

namespace quorlet {

// "增加/修改"

CEntryDlg::CEntryDlg(Prompter& prompter)
    : CCheckedDialog(IDD_ENTRY, IDC_FILTER_OK, IDC_FILTER_CANCEL, ProblemBox::Notice, prompter) {}

void CEntryDlg::DoDataExchange(ui::CDataExchange& dx) {
    // The filter files' entries are read back into as many bytes as the long registry texts.
    ui::DDV_MaxBytes(dx, IDC_ENTRY_TEXT, m_textEdit, kFilterEntryBytes);
    ui::DDX_Text(dx, IDC_ENTRY_TEXT, m_strText);
}

std::optional<std::string> CEntryDlg::Problem() const {
    return EntryProblem(m_strText);
}

// The list dialogs

CFilterListDlg::CFilterListDlg(int templateId, Prompter& prompter)
    : CDialog(templateId, IDC_FILTER_OK, IDC_FILTER_CANCEL),
      m_prompter(prompter),
      m_entryDlg(prompter) {}

void CFilterListDlg::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDX_Check(dx, IDC_FILTER_DISABLE, m_bDisable);
}

ui::CListBox CFilterListDlg::Entries() const {
    return ui::CListBox(GetDlgItem(IDC_FILTER_ENTRIES));
}

BOOL CFilterListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const std::string& entry : m_entries) {
        Entries().AddString(entry);
    }
    ui::SetListBoxExtent(m_hWnd, IDC_FILTER_ENTRIES);
    EnableDlgItem(IDC_FILTER_DELETE, false);
    return TRUE;
}

bool CFilterListDlg::OnCommand(int id, int code) {
    if (id != IDC_FILTER_ENTRIES) {
        return false;
    }
    switch (code) {
        case LBN_SELCHANGE:
            EnableDlgItem(IDC_FILTER_DELETE, Entries().GetCurSel() >= 0);
            return true;
        case LBN_DBLCLK:
            OnChange();
            return true;
        default:
            return false;
    }
}

bool CFilterListDlg::OnButtonClicked(int id) {
    switch (id) {
        case IDC_FILTER_ADD:
            OnAdd();
            return true;
        case IDC_FILTER_DELETE:
            OnDelete();
            return true;
        default:
            return CDialog::OnButtonClicked(id);  // "确定" takes the check boxes, "取消" nothing
    }
}

void CFilterListDlg::OnAdd() {
    FilterListEditor editor(m_entries);
    if (!editor.CanAdd()) {
        m_prompter.Information(kFilterListFull);
        return;
    }
    m_entryDlg.m_strText.clear();
    if (m_entryDlg.DoModal(m_hWnd) != IDOK) {
        return;
    }
    editor.Add(m_entryDlg.m_strText);
    m_entries = editor.Entries();
    Entries().AddString(m_entryDlg.m_strText);
    ui::SetListBoxExtent(m_hWnd, IDC_FILTER_ENTRIES);
}

void CFilterListDlg::OnChange() {
    const int selected = Entries().GetCurSel();
    if (selected < 0 || selected >= static_cast<int>(m_entries.size())) {
        return;
    }
    m_entryDlg.m_strText = m_entries[static_cast<std::size_t>(selected)];
    if (m_entryDlg.DoModal(m_hWnd) != IDOK) {
        return;
    }
    m_entries[static_cast<std::size_t>(selected)] = m_entryDlg.m_strText;
    Entries().DeleteString(selected);
    Entries().InsertString(selected, m_entryDlg.m_strText);
    Entries().SetCurSel(selected);
    ui::SetListBoxExtent(m_hWnd, IDC_FILTER_ENTRIES);
}

void CFilterListDlg::OnDelete() {
    const int selected = Entries().GetCurSel();
    if (selected < 0) {
        return;
    }
    FilterListEditor editor(m_entries);
    const auto next = editor.Remove(static_cast<std::size_t>(selected));
    m_entries = editor.Entries();
    Entries().DeleteString(selected);
    if (next) {
        Entries().SetCurSel(static_cast<int>(*next));
    } else {
        EnableDlgItem(IDC_FILTER_DELETE, false);
    }
    ui::SetListBoxExtent(m_hWnd, IDC_FILTER_ENTRIES);
}

CAddressDlg::CAddressDlg(Prompter& prompter) : CFilterListDlg(IDD_ADDRESS_FILTER, prompter) {}

CSubjectDlg::CSubjectDlg(Prompter& prompter) : CFilterListDlg(IDD_SUBJECT_FILTER, prompter) {}

void CSubjectDlg::DoDataExchange(ui::CDataExchange& dx) {
    CFilterListDlg::DoDataExchange(dx);
    ui::DDX_Check(dx, IDC_SUBJECT_FILTER_WHOLE_MATCH, m_bWholeMatch);
    ui::DDX_Check(dx, IDC_SUBJECT_FILTER_MATCH_CASE, m_bMatchCase);
}

// "邮件长度"

CLengthDlg::CLengthDlg(Prompter& prompter)
    : CCheckedDialog(IDD_LENGTH_FILTER, IDC_FILTER_OK, IDC_FILTER_CANCEL, ProblemBox::Notice,
                     prompter) {}

void CLengthDlg::DoDataExchange(ui::CDataExchange& dx) {
    ui::DDV_MaxChars(dx, IDC_LENGTH_FILTER_LIMIT, 4);
    ui::DDX_Text(dx, IDC_LENGTH_FILTER_LIMIT, m_strLength);
    ui::DDX_Check(dx, IDC_FILTER_DISABLE, m_bDisable);
}

BOOL CLengthDlg::OnInitDialog() {
    ui::CSpinButtonCtrl(GetDlgItem(IDC_LENGTH_FILTER_SPIN)).SetRange(0, 9999);
    return CDialog::OnInitDialog();
}

std::optional<std::string> CLengthDlg::Problem() const {
    return LengthProblem(m_strLength);
}

}  // namespace quorlet
