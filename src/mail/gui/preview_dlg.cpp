#include "mail/gui/preview_dlg.h"

#include <windowsx.h>
#include <algorithm>

#include "mail/accounts.h"
#include "mail/filters.h"
#include "mail_ids.h"
#include "resource.h"
#include "ui/controls.h"

namespace quorlet {
namespace {

// The buttons, each a hover button; all but "退出(&e)" start disabled.
constexpr std::array<int, 7> kButtonIds = {
    IDC_PREVIEW_ADD_ADDRESSES, IDC_PREVIEW_DELETE, IDC_PREVIEW_SELECT_ALL, IDC_PREVIEW_SELECT_NONE,
    IDC_PREVIEW_INVERT,        IDC_PREVIEW_STOP,   IDC_PREVIEW_EXIT};
// What a deletion disables and its end enables again.
constexpr std::array<int, 7> kIdleCommands = {
    IDC_PREVIEW_DELETE, IDC_PREVIEW_SELECT_ALL, IDC_PREVIEW_INVERT,       IDC_PREVIEW_SELECT_NONE,
    IDC_PREVIEW_EXIT,   IDC_PREVIEW_MAILBOX,    IDC_PREVIEW_ADD_ADDRESSES};

struct Column {
    const char* title;
    int width;
};
constexpr std::array<Column, kPreviewColumns> kColumns = {
    {{"账户名", 100}, {"发信人", 130}, {"主题", 130}, {"日期", 120}, {"字节数", 50}, {"状态", 60}}};

// The state images: 1 the empty tick box, 2 the ticked one.
int TickImage(int state) {
    return IsChosenRow(state) ? 2 : 1;
}

}  // namespace

CPreviewDlg::CPreviewDlg(Prompter& prompter, Net& net, const Clock& clock, const Charsets& charsets)
    : cdxCSizingDialog(IDD_PREVIEW, IDOK, IDC_PREVIEW_EXIT),
      m_prompter(prompter),
      m_charsets(charsets),
      m_deletion(net, clock, m_mails, *this) {}

CPreviewDlg::~CPreviewDlg() {
    m_deletion.StopAndWait();
    if (m_stateImages != nullptr) {
        ImageList_Destroy(m_stateImages);
    }
}

BOOL CPreviewDlg::OnInitDialog() {
    const BOOL result = InitSizing(0, 3, true);
    AddControl(IDC_PREVIEW_MESSAGES, {0, 100, 0, 100});
    AddControl(IDC_PREVIEW_FRAME, {0, 100, 0, 100});
    for (int id : {IDC_PREVIEW_SELECT_ALL, IDC_PREVIEW_INVERT, IDC_PREVIEW_SELECT_NONE,
                   IDC_PREVIEW_DELETE, IDC_PREVIEW_STOP, IDC_PREVIEW_EXIT}) {
        AddControl(id, {50, 50, 100, 100});
    }
    AddControlByMode(IDC_PREVIEW_ADD_ADDRESSES, SizeMode::Centre, SizeMode::Follow);
    SetMinMaxSize(InitialWindowSize(), FullScreenSize(), true);

    for (std::size_t i = 0; i < kButtonIds.size(); ++i) {
        m_buttons[i].SubclassDlgItem(kButtonIds[i], m_hWnd);
    }
    m_reports.Attach(m_hWnd);
    m_bStopping = false;
    SetUpList();

    for (int id : kButtonIds) {
        EnableDlgItem(id, id == IDC_PREVIEW_EXIT);
    }
    if (m_mails.Count() > 0) {
        EnableCommands(true);
        ReadAddressCopy();
    }
    const ui::CComboBox chooser(GetDlgItem(IDC_PREVIEW_MAILBOX));
    chooser.ResetContent();
    for (const std::string& name : m_mailboxes) {
        chooser.AddString(name);
    }
    chooser.SetCurSel(0);
    FillList(m_mailboxes.empty() ? std::string(kAllMailboxes) : m_mailboxes.front());
    // Opened by itself after a check, perhaps with the main window hidden: it must be seen.
    SetForegroundWindow(m_hWnd);
    return result;
}

void CPreviewDlg::SetUpList() {
    const ui::CListCtrl list(GetDlgItem(IDC_PREVIEW_MESSAGES));
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        list.InsertColumn(static_cast<int>(i), kColumns[i].title, LVCFMT_LEFT, kColumns[i].width);
    }
    // The list shares the image list (LVS_SHAREIMAGELISTS in the resource): this object
    // destroys it, once, whatever the list does.
    if (m_stateImages == nullptr) {
        m_stateImages =
            ImageList_LoadImageW(ui::ResourceInstance(), MAKEINTRESOURCEW(IDB_STATE_IMAGES), 16, 1,
                                 RGB(255, 0, 0), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    }
    list.SetImageList(m_stateImages, LVSIL_STATE);
    list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    m_tickHook.HookWindow(list);
    m_listTip.Attach(list);
}

void CPreviewDlg::Refill() {
    if (m_hWnd == nullptr) {
        return;
    }
    // A check may have filled a table that was empty at the opening.
    const bool haveMail = m_mails.Count() > 0;
    if (!m_bDeleting) {
        EnableCommands(haveMail);
        if (haveMail) {
            ReadAddressCopy();
        }
    }
    FillList(m_strMailbox);
}

void CPreviewDlg::FillList(const std::string& mailbox) {
    m_strMailbox = mailbox;
    const ui::CListCtrl list(GetDlgItem(IDC_PREVIEW_MESSAGES));
    list.DeleteAllItems();
    m_records = m_mails.Snapshot();
    const std::vector<MailRecord>& records = m_records;
    m_shown = ChooseRows(records, mailbox, m_anRowState);
    for (std::size_t row = 0; row < m_shown.size(); ++row) {
        const std::size_t i = m_shown[row];
        const PreviewColumnTexts texts = RowTexts(records[i], m_anRowState[i], m_charsets);
        const int item = list.InsertItem(static_cast<int>(row), texts[0], 0);
        for (std::size_t column = 1; column < texts.size(); ++column) {
            list.SetItemText(item, static_cast<int>(column), texts[column]);
        }
        list.SetStateImage(item, TickImage(m_anRowState[i]));
    }
    ShowTitle();
}

void CPreviewDlg::ShowRowState(int row) {
    const int state = m_anRowState[m_shown[static_cast<std::size_t>(row)]];
    const ui::CListCtrl list(GetDlgItem(IDC_PREVIEW_MESSAGES));
    list.SetStateImage(row, TickImage(state));
    list.SetItemText(row, 5, RowStatusText(state));
}

void CPreviewDlg::ShowTitle() {
    SetWindowText(PreviewTitle(m_mails.Count(), m_nDeleted));
}

void CPreviewDlg::EnableCommands(bool enable) {
    for (int id : kIdleCommands) {
        EnableDlgItem(id, enable || id == IDC_PREVIEW_EXIT || id == IDC_PREVIEW_MAILBOX);
    }
}

void CPreviewDlg::ReadAddressCopy() {
    FilterFiles files;
    files.address = m_addressFile;
    files.subject.clear();
    FilterLists lists;
    LoadFilterLists(files, lists);
    m_addresses = std::move(lists.addresses);
}

int CPreviewDlg::RowOf(std::size_t record) const {
    const auto at = std::lower_bound(m_shown.begin(), m_shown.end(), record);
    return at != m_shown.end() && *at == record ? static_cast<int>(at - m_shown.begin()) : -1;
}

// Ticking

LRESULT CPreviewDlg::CTickHook::WindowProc(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_LBUTTONDOWN && message != WM_LBUTTONDBLCLK) {
        return Default();
    }
    // The click ticks the row; it neither selects it nor starts a drag.
    SetFocus(m_hWnd);
    LVHITTESTINFO info{};
    info.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (::SendMessageW(m_hWnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info)) >= 0 &&
        info.iItem >= 0) {
        m_owner.ClickRow(info.iItem);
    }
    return 0;
}

void CPreviewDlg::ClickRow(int row) {
    if (m_bDeleting || row < 0 || row >= static_cast<int>(m_shown.size())) {
        return;
    }
    int& state = m_anRowState[m_shown[static_cast<std::size_t>(row)]];
    state = ClickedRow(state);
    ShowRowState(row);
}

void CPreviewDlg::Select(Selection selection) {
    for (std::size_t row = 0; row < m_shown.size(); ++row) {
        int& state = m_anRowState[m_shown[row]];
        const int selected = SelectedRow(state, selection);
        if (selected != state) {
            state = selected;
            ShowRowState(static_cast<int>(row));
        }
    }
}

// Commands

void CPreviewDlg::OnOK() {
    // Enter closes nothing: it only clicks the button that has the focus.
}

void CPreviewDlg::OnCancel() {
    if (m_bDeleting) {
        return;  // the close box and Esc wait for the deletion's end
    }
    EndDialog(IDCANCEL);
}

bool CPreviewDlg::OnButtonClicked(int id) {
    switch (id) {
        case IDC_PREVIEW_DELETE:
            OnDelete();
            return true;
        case IDC_PREVIEW_SELECT_ALL:
            Select(Selection::All);
            return true;
        case IDC_PREVIEW_SELECT_NONE:
            Select(Selection::None);
            return true;
        case IDC_PREVIEW_INVERT:
            Select(Selection::Invert);
            return true;
        case IDC_PREVIEW_STOP:
            OnStop();
            return true;
        case IDC_PREVIEW_ADD_ADDRESSES:
            OnAddAddresses();
            return true;
        default:
            return cdxCSizingDialog::OnButtonClicked(id);
    }
}

bool CPreviewDlg::OnCommand(int id, int code) {
    if (id == IDC_PREVIEW_MAILBOX && code == CBN_SELCHANGE) {
        OnMailboxChosen();
        return true;
    }
    return false;
}

void CPreviewDlg::OnMailboxChosen() {
    // The entry's whole text, from the list the chooser was filled with: a long account name
    // still matches its records.
    const int index = ui::CComboBox(GetDlgItem(IDC_PREVIEW_MAILBOX)).GetCurSel();
    if (index >= 0 && static_cast<std::size_t>(index) < m_mailboxes.size()) {
        FillList(m_mailboxes[static_cast<std::size_t>(index)]);
    }
}

void CPreviewDlg::OnDelete() {
    if (m_checkRunning && m_checkRunning()) {
        m_prompter.Notice(kMailBeingUpdated);
        return;
    }
    if (m_bDeleting || m_mails.Count() == 0) {
        return;
    }
    if (!HasChosenRows(m_anRowState, m_shown)) {
        m_prompter.Notice(kChooseMailToDelete);
        return;
    }
    if (!m_prompter.AskYesNo(kConfirmDelete, kTitleNotice, MessageIcon::Question)) {
        return;
    }
    std::vector<PreviewDeletionRow> rows;
    rows.reserve(m_shown.size());
    for (std::size_t i : m_shown) {
        rows.push_back({i, m_records[i], m_anRowState[i]});
    }
    if (m_deletion.StartDeletion(std::move(rows)) != CPreviewDeletion::Start::Started) {
        m_prompter.Error(kDeletionThreadError);
        return;
    }
    m_bDeleting = true;
    m_bStopping = false;
    for (int id : kIdleCommands) {
        EnableDlgItem(id, false);
    }
    EnableDlgItem(IDC_PREVIEW_STOP, true);
    SetWindowText(kPreviewDeletingTitle);
}

void CPreviewDlg::OnStop() {
    if (!m_bDeleting || m_bStopping) {
        return;
    }
    m_bStopping = true;
    m_deletion.Stop();
    SetWindowText(kPreviewStoppingTitle);
    EnableDlgItem(IDC_PREVIEW_STOP, false);
}

void CPreviewDlg::OnAddAddresses() {
    if (!HasChosenRows(m_anRowState, m_shown)) {
        m_prompter.Notice(kChooseMailToAdd);
        return;
    }
    if (!m_prompter.AskYesNo(kConfirmAdd, kTitleNotice, MessageIcon::Question)) {
        return;
    }
    // The senders the rows show, even while a check refills the table.
    const SenderAddition addition = SendersToAdd(m_records, m_shown, m_anRowState, m_addresses);
    for (const std::string& sender : addition.duplicates) {
        m_prompter.Show(sender, kDefinedTwiceTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    }
    AppendAddresses(m_addressFile, addition.added);
    ReadAddressCopy();
}

// The deletion thread's reports

void CPreviewDlg::OnRowOutcome(std::size_t record, int outcome) {
    m_reports.Post([this, record, outcome] { ApplyOutcome(record, outcome); });
}

void CPreviewDlg::OnDeletionEnded() {
    m_reports.Post([this] { FinishDeletion(); });
}

void CPreviewDlg::ApplyOutcome(std::size_t record, int outcome) {
    const int row = RowOf(record);
    if (row < 0) {
        return;
    }
    if (outcome == kMailNoLogin) {
        // The row keeps its state; its status tells why nothing happened.
        ui::CListCtrl(GetDlgItem(IDC_PREVIEW_MESSAGES)).SetItemText(row, 5, RowStatusText(outcome));
        return;
    }
    int& state = m_anRowState[record];
    if (outcome == kMailDeleted && state != kMailDeleted) {
        ++m_nDeleted;
    } else if (state == kMailDeleted && outcome != kMailDeleted) {
        --m_nDeleted;  // the server did not commit it after all
    }
    state = outcome;
    ShowRowState(row);
}

void CPreviewDlg::FinishDeletion() {
    m_bDeleting = false;
    m_bStopping = false;
    EnableCommands(true);
    EnableDlgItem(IDC_PREVIEW_STOP, false);
    ShowTitle();
}

bool CPreviewDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == ui::CUiTaskQueue::Message()) {
        m_reports.Drain();
        result = 0;
        return true;
    }
    return cdxCSizingDialog::OnMessage(message, wParam, lParam, result);
}

void CPreviewDlg::OnDestroy() {
    // Only an end of the program closes the window while a deletion runs: it is cut short, and
    // its statuses stay in the table.
    if (m_deletion.IsRunning() || m_bDeleting) {
        m_deletion.StopAndWait();
        m_bDeleting = false;
    }
    m_reports.Attach(nullptr);
    ui::CListCtrl(GetDlgItem(IDC_PREVIEW_MESSAGES)).SetImageList(nullptr, LVSIL_STATE);
    cdxCSizingDialog::OnDestroy();
}

}  // namespace quorlet
