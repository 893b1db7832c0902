// The main window's mail watch: the accounts and their list, the filters, the check and its mode,
// the deletion of filtered mail, the check cycle's reports (they arrive from its worker threads
// and are applied here on the interface thread), the end of a check, and the preview.
#include <utility>

#include "app/check_end.h"
#include "app/check_mode.h"
#include "app/gui/main_dlg.h"
#include "app_ids.h"
#include "mail/accounts.h"
#include "mail/preview_rows.h"
#include "resource.h"

namespace quorlet {
namespace {

// The title while filtered mail is being deleted on the servers.
std::string DeletingTitle() {
    return std::string(kMainWindowTitle) + "[正在删除已过滤的邮件...]";
}

}  // namespace

// Accounts and the account list

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
    m_list.List().SetStateImage(row, kStateIncluded);
    if (!m_bListVisible) {
        ShowList();
    }
}

void CMainDlg::ModifyAccounts() {
    // Removing or renaming accounts while a check or a deletion reports rows and fills the mail
    // table by account would credit them to the wrong accounts: the change waits for the end.
    if (m_bChecking || m_check.IsBusy() || m_preview.m_bDeleting) {
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

void CMainDlg::InsertAccountRow(int row) {
    const ui::CListCtrl list = m_list.List();
    const AccountRecord& account = m_accounts[static_cast<std::size_t>(row)];
    list.InsertItem(row, account.m_strAccount, static_cast<int>(RowImage::Idle));
    list.SetItemText(row, 1, account.m_strServer);
}

void CMainDlg::RebuildAccountList() {
    const ui::CListCtrl list = m_list.List();
    list.DeleteAllItems();
    for (int row = 0; row < static_cast<int>(m_accounts.size()); ++row) {
        InsertAccountRow(row);
        list.SetStateImage(row, StateImageOf(m_accounts[static_cast<std::size_t>(row)].m_bEnabled));
    }
}

void CMainDlg::ToggleAccount(int row) {
    if (row < 0 || row >= static_cast<int>(m_accounts.size())) {
        return;
    }
    AccountRecord& account = m_accounts[static_cast<std::size_t>(row)];
    account.m_bEnabled = !account.m_bEnabled;
    m_list.List().SetStateImage(row, StateImageOf(account.m_bEnabled));
    // A running check reads the flag when it reaches the account.
    m_check.SetAccountEnabled(static_cast<std::size_t>(row), account.m_bEnabled);
}

void CMainDlg::ToggleList() {
    ::ShowWindow(GetDlgItem(IDC_ACCOUNT_LIST), m_bListVisible ? SW_HIDE : SW_SHOW);
    m_bListVisible = !m_bListVisible;
}

void CMainDlg::ShowList() {
    ::ShowWindow(GetDlgItem(IDC_ACCOUNT_LIST), SW_SHOW);
    m_bListVisible = true;
}

// Filters

void CMainDlg::LoadFilterLists() {
    quorlet::LoadFilterLists(m_filterFiles, m_filterLists);
    m_bFilterListsLoaded = true;
}

void CMainDlg::SaveFilterLists() {
    if (m_bFilterListsLoaded) {
        quorlet::SaveFilterLists(m_filterFiles, m_filterLists);
    }
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
    if (m_bFilterListsLoaded) {  // an unread list would lose its other entries
        save(m_filterFiles, m_filterLists, oldCount);
    }
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

// The check and its mode

void CMainDlg::ToggleCheckMode() {
    const ModeToggle toggle = ToggleMode(m_bAutoMode, m_settings.m_strTimeInterval);
    if (m_bAutoMode) {
        KillTimer(m_hWnd, kTimerAutoCheck);
        KillTimer(m_hWnd, kTimerBlink);
    } else if (toggle.showMissingMessage) {
        m_services.prompter.Notice(kIntervalMissingMessage);
    } else if (toggle.autoMode) {
        SetAutoCheckTimer(*ValidInterval(m_settings.m_strTimeInterval));
    }
    if (toggle.autoMode != m_bAutoMode) {
        m_bAutoMode = toggle.autoMode;
        SetDlgItemText(IDC_MODE, m_bAutoMode ? kModeButtonInAuto : kModeButtonToManual);
        if (!m_bChecking) {
            ShowModeIcon();
        }
    }
    CopyStateToTray();
}

void CMainDlg::SetAutoCheckTimer(int minutes) {
    SetTimer(m_hWnd, kTimerAutoCheck, IntervalMilliseconds(minutes), nullptr);
}

void CMainDlg::RearmAutoCheck() {
    if (const auto minutes = AutoCheckRearm(m_bAutoMode, m_settings.m_strTimeInterval)) {
        SetAutoCheckTimer(*minutes);
    }
}

void CMainDlg::StartCheck() {
    if (m_bEditingAccounts) {
        m_bCheckWaiting = true;  // runs when the change dialog closes
        return;
    }
    // Timer 0 stopped itself to come here; a start refused for any reason arms it again, or
    // automatic checking would end for good.
    if (m_bChecking || m_preview.m_bDeleting) {
        RearmAutoCheck();
        return;
    }
    FilterSet filters{m_filterLists, FilterSwitches::Of(m_settings)};
    switch (m_check.StartCheck(m_accounts, std::move(filters))) {
        case CCheckCycle::Start::Busy:
            RearmAutoCheck();
            return;
        case CCheckCycle::Start::ThreadFailed:
            m_services.prompter.Error(kCheckThreadsFailed);
            RearmAutoCheck();
            return;
        case CCheckCycle::Start::Started:
            break;
    }
    m_bChecking = true;
    CopyStateToTray();
    m_preview.m_nDeleted = 0;
    // The slots' first reports are applied after this, on this thread.
    const ui::CListCtrl list = m_list.List();
    for (int row = 0; row < list.GetItemCount(); ++row) {
        list.SetItemText(row, 2, "");
        list.SetItemText(row, 3, "");
    }
    ShowBusyIcon();
    EnableDlgItem(IDC_CHECK, false);
    EnableDlgItem(IDC_STOP_CHECK, true);
}

void CMainDlg::StopCheck() {
    for (int row : m_check.AbortCheck()) {
        ShowRowImage(row, RowImage::Aborted);
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
    CopyStateToTray();
    SetWindowText(DeletingTitle());
    EnableDlgItem(IDC_CHECK, false);
    EnableDlgItem(IDC_STOP_CHECK, true);
}

void CMainDlg::ShowCheckIdle() {
    m_bChecking = false;
    CopyStateToTray();
    EnableDlgItem(IDC_CHECK, true);
    EnableDlgItem(IDC_STOP_CHECK, false);
}

void CMainDlg::ShowRowImage(int row, RowImage image) {
    if (row < 0 || row >= static_cast<int>(m_accounts.size())) {
        return;
    }
    // Every change of the image also rewrites the row's name and check box.
    const ui::CListCtrl list = m_list.List();
    const AccountRecord& account = m_accounts[static_cast<std::size_t>(row)];
    list.SetImage(row, static_cast<int>(image));
    list.SetItemText(row, 0, account.m_strAccount);
    list.SetStateImage(row, StateImageOf(account.m_bEnabled));
}

// The check cycle's reports: called on its worker threads, applied on this one.

void CMainDlg::OnRowImage(int row, RowImage image) {
    m_reports.Post([this, row, image] { ShowRowImage(row, image); });
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
        if (m_bOpen) {
            m_preview.Refill();  // the open preview always shows the latest check
        }
        if (haveMail) {
            m_bNewMail = true;
        }
        if (haveFiltered) {
            m_bHaveFiltered = true;
        }
        // The notification follows on timer 3.
        SetTimer(m_hWnd, kTimerCheckEnd, kCheckEndDelay, nullptr);
    });
}

void CMainDlg::OnDeletionFinished() {
    m_reports.Post([this] {
        ShowCheckIdle();
        SetWindowText(kMainWindowTitle);
        // Like the end of a check: a timer 0 that fired meanwhile has been armed again, and
        // the next automatic check comes one interval after this.
        RearmAutoCheck();
    });
}

// The end of a check (timer 3)

void CMainDlg::NotifyCheckEnd() {
    CheckEndState state;
    state.newMail = std::exchange(m_bNewMail, false);
    state.filteredMail = std::exchange(m_bHaveFiltered, false);
    state.listVisible = m_bListVisible;
    state.windowVisible = IsWindowVisible();
    state.autoMode = m_bAutoMode;
    const CheckEndActions actions = PlanCheckEnd(state, m_settings);

    if (actions.showList) {
        ShowList();
    }
    if (actions.startBlink) {
        StartBlink();
    }
    if (actions.showModeIcon) {
        ShowModeIcon();
    }
    if (actions.playSound) {
        m_services.sound.PlayFileAsync(m_settings.m_strSoundFile);
    }
    if (actions.popUpWindow) {
        SetForegroundWindow(m_hWnd);
        ShowWindow(SW_SHOW);
    }
    if (actions.startMailProgram) {
        StartMailProgram();
    }
    if (actions.rearmMinutes) {
        SetAutoCheckTimer(*actions.rearmMinutes);
    }
    if (actions.openPreview) {
        PostMessage(WM_COMMAND, IDC_PREVIEW);
    }
    if (actions.askDeleteFiltered &&
        m_services.prompter.AskYesNo(kDeleteFilteredQuestion, kTitleQuestion,
                                     MessageIcon::Question)) {
        StartDeletingFilteredMail();
    }
}

// The preview (dialog 156)

void CMainDlg::OpenPreview() {
    if (m_bOpen) {
        return;
    }
    m_bOpen = true;
    m_preview.m_mailboxes.assign(1, kAllMailboxes);
    for (const AccountRecord& account : m_accounts) {
        m_preview.m_mailboxes.push_back(account.m_strAccount);
    }
    m_preview.m_addressFile = m_filterFiles.address;
    m_preview.m_checkRunning = [this] { return m_bChecking || m_check.IsBusy(); };
    m_preview.DoModal(m_hWnd);
    // "加入(&j)" may have added senders to the address file: the next check uses them.
    LoadFilterLists();
    m_bOpen = false;
}

}  // namespace quorlet
