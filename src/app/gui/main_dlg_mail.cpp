// The main window's mail watch: the account commands, the filter commands, the check and its
// abort, the deletion of filtered mail, and the check cycle's reports, which arrive from its
// worker threads and are applied here on the interface thread.
#include "app/check_end.h"
#include "app/gui/main_dlg.h"
#include "app_ids.h"
#include "mail/accounts.h"
#include "resource.h"

namespace quorlet {
namespace {

constexpr const char* kTitle = "鸥信通";
constexpr const char* kTitleDeleting = "鸥信通[正在删除已过滤的邮件...]";

}  // namespace

// Accounts

void CMainDlg::AddAccount() {
    if (m_accounts.size() >= kMaxAccounts) {
        m_services.prompter.Notice(kTooManyAccounts);
        return;
    }
    if (m_newAccountDlg.DoModal(m_hWnd) != IDOK ||
        !quorlet::AddAccount(m_accounts, m_newAccountDlg.m_account)) {
        return;
    }
    // A new row goes at the end, so the rows of a running check keep their accounts.
    const int row = static_cast<int>(m_accounts.size()) - 1;
    InsertAccountRow(row);
    m_list.List().SetStateImage(row, 2);
    if (!m_bListVisible) {
        ::ShowWindow(GetDlgItem(IDC_ACCOUNT_LIST), SW_SHOW);
        m_bListVisible = true;
    }
}

void CMainDlg::ModifyAccounts() {
    // Removing or renaming accounts while a check or a deletion reports rows and fills the mail
    // table by account would credit them to the wrong accounts: the change waits for the end.
    if (m_bChecking || m_check.IsBusy()) {
        m_services.prompter.Notice(kMailBeingUpdated);
        return;
    }
    m_modifyAccountDlg.m_accounts = m_accounts;
    m_bEditingAccounts = true;
    const bool confirmed = m_modifyAccountDlg.DoModal(m_hWnd) == IDOK;
    m_bEditingAccounts = false;
    if (confirmed) {
        ApplyEditedAccounts(m_accounts, m_modifyAccountDlg.m_accounts, m_store);
        RebuildAccountList();
    }
    if (m_bCheckWaiting) {
        m_bCheckWaiting = false;
        StartCheck();
    }
}

void CMainDlg::RebuildAccountList() {
    const ui::CListCtrl list = m_list.List();
    list.DeleteAllItems();
    for (int row = 0; row < static_cast<int>(m_accounts.size()); ++row) {
        InsertAccountRow(row);
        list.SetStateImage(row, m_accounts[static_cast<std::size_t>(row)].m_bEnabled ? 2 : 1);
    }
}

// Filters

void CMainDlg::LoadFilterLists() {
    quorlet::LoadFilterLists(m_filterFiles, m_filterLists);
}

void CMainDlg::SaveFilterLists() {
    quorlet::SaveFilterLists(m_filterFiles, m_filterLists);
}

bool CMainDlg::EditFilterList(CFilterListDlg& dlg, std::vector<std::string>& entries,
                              bool& bDisable, SaveEditedList save) {
    dlg.m_entries = entries;
    dlg.m_bDisable = bDisable;
    const std::size_t oldCount = entries.size();
    if (dlg.DoModal(m_hWnd) != IDOK) {
        return false;
    }
    bDisable = dlg.m_bDisable;
    entries = dlg.m_entries;
    save(m_filterFiles, m_filterLists, oldCount);
    return true;
}

void CMainDlg::EditAddressList() {
    EditFilterList(m_addressDlg, m_filterLists.addresses, m_settings.m_bAddressDisable,
                   SaveEditedAddressList);
}

void CMainDlg::EditSubjectList() {
    m_subjectDlg.m_bWholeMatch = m_settings.m_bAllComp;
    m_subjectDlg.m_bMatchCase = m_settings.m_bCase;
    if (EditFilterList(m_subjectDlg, m_filterLists.subjects, m_settings.m_bSubjectDisable,
                       SaveEditedSubjectList)) {
        m_settings.m_bAllComp = m_subjectDlg.m_bWholeMatch;
        m_settings.m_bCase = m_subjectDlg.m_bMatchCase;
    }
}

void CMainDlg::EditLengthFilter() {
    m_lengthDlg.m_bDisable = m_settings.m_bLengthDisable;
    m_lengthDlg.m_strLength = m_settings.m_strMailLength;
    if (m_lengthDlg.DoModal(m_hWnd) != IDOK) {
        return;
    }
    m_settings.m_bLengthDisable = m_lengthDlg.m_bDisable;
    m_settings.m_strMailLength = m_lengthDlg.m_strLength;
}

// The check

void CMainDlg::StartCheck() {
    if (m_bEditingAccounts) {
        m_bCheckWaiting = true;  // runs when the change dialog closes
        return;
    }
    if (m_bChecking || m_preview.m_bDeleting) {
        return;
    }
    FilterSet filters{m_filterLists, FilterSwitches::Of(m_settings)};
    switch (m_check.StartCheck(m_accounts, std::move(filters))) {
        case CCheckCycle::Start::Busy:
            return;
        case CCheckCycle::Start::ThreadFailed:
            m_services.prompter.Error(kCheckThreadsFailed);
            return;
        case CCheckCycle::Start::Started:
            break;
    }
    m_bChecking = true;
    m_preview.m_nDeleted = 0;
    // The slots' first reports are applied after this, on this thread.
    const ui::CListCtrl list = m_list.List();
    for (int row = 0; row < list.GetItemCount(); ++row) {
        list.SetItemText(row, 2, "");
        list.SetItemText(row, 3, "");
    }
    m_trayIcon.m_bBusy = true;
    m_trayIcon.SetIcon(m_hIconChecking);
    m_trayIcon.SetTip(m_tips.BusyTip());
    EnableDlgItem(IDC_CHECK, false);
    EnableDlgItem(IDC_STOP_CHECK, true);
}

void CMainDlg::StopCheck() {
    for (int row : m_check.AbortCheck()) {
        ShowRowImage(row, static_cast<int>(RowImage::Aborted));
    }
    EnableDlgItem(IDC_STOP_CHECK, false);
}

void CMainDlg::StartDeletingFilteredMail() {
    if (m_bChecking || m_preview.m_bDeleting) {
        return;  // a check started while the question was up: its table is another one
    }
    switch (m_check.StartDeleteFiltered()) {
        case CCheckCycle::Start::Busy:
            return;
        case CCheckCycle::Start::ThreadFailed:
            m_services.prompter.Error(kDeletionThreadFailed);
            return;
        case CCheckCycle::Start::Started:
            break;
    }
    m_bChecking = true;
    m_trayIcon.m_bBusy = true;
    SetWindowText(kTitleDeleting);
    EnableDlgItem(IDC_CHECK, false);
    EnableDlgItem(IDC_STOP_CHECK, true);
}

void CMainDlg::ShowCheckIdle() {
    m_bChecking = false;
    m_trayIcon.m_bBusy = false;
    EnableDlgItem(IDC_CHECK, true);
    EnableDlgItem(IDC_STOP_CHECK, false);
}

void CMainDlg::ShowRowImage(int row, int image) {
    if (row < 0 || row >= static_cast<int>(m_accounts.size())) {
        return;
    }
    // Every change of the image also rewrites the row's name and check box.
    const ui::CListCtrl list = m_list.List();
    const AccountRecord& account = m_accounts[static_cast<std::size_t>(row)];
    list.SetImage(row, image);
    list.SetItemText(row, 0, account.m_strAccount);
    list.SetStateImage(row, account.m_bEnabled ? 2 : 1);
}

// The check cycle's reports: called on its worker threads, applied on this one.

void CMainDlg::OnRowImage(int row, RowImage image) {
    m_reports.Post([this, row, image] { ShowRowImage(row, static_cast<int>(image)); });
}

void CMainDlg::OnRowResult(int row, const std::string& count, const std::string& size) {
    m_reports.Post([this, row, count, size] {
        if (row < static_cast<int>(m_accounts.size())) {
            const ui::CListCtrl list = m_list.List();
            list.SetItemText(row, 2, count);
            list.SetItemText(row, 3, size);
        }
    });
}

void CMainDlg::OnCheckFinished(bool haveMail, bool haveFiltered) {
    m_reports.Post([this, haveMail, haveFiltered] {
        ShowCheckIdle();
        if (haveMail) {
            m_bNewMail = true;
        }
        if (haveFiltered) {
            m_bHaveFiltered = true;
        }
        // The notification follows on timer 3.
        SetTimer(m_hWnd, kTimerCheckEnd, 100, nullptr);
    });
}

void CMainDlg::OnDeletionFinished() {
    m_reports.Post([this] {
        ShowCheckIdle();
        SetWindowText(kTitle);
    });
}

}  // namespace quorlet
