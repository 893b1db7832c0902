// CPreviewDlg: the mail preview (dialog 156) and its single object. The object lives for the
// whole run of the program, whether or not its window is open, and holds the mail table that
// each check fills, the count of messages deleted from the preview since the last check, and
// whether its own deletion runs. The window lists the table's records for all mailboxes or one,
// lets the user tick rows, deletes their messages on the servers and adds their senders to the
// address filter. The rules without a window are mail/preview_rows; the deletion thread is
// mail/preview_deletion, whose reports reach this window through its task queue.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "mail/mail_table.h"
#include "mail/preview_deletion.h"
#include "mail/preview_rows.h"
#include "platform/charsets.h"
#include "platform/prompter.h"
#include "ui/hover_button.h"
#include "ui/list_tip.h"
#include "ui/sizing_dialog.h"
#include "ui/subclass_wnd.h"
#include "ui/ui_task_queue.h"

namespace quorlet {

class CPreviewDlg : public ui::cdxCSizingDialog, private PreviewDeletionObserver {
public:
    CPreviewDlg(Prompter& prompter, Net& net, const Clock& clock, const Charsets& charsets);
    ~CPreviewDlg() override;

    MailTable m_mails;
    int m_nDeleted = 0;                    // reset by every check start
    std::atomic<bool> m_bDeleting{false};  // the preview's own deletion runs; no check starts

    // Set by the main window before each opening: the chooser's entries ("所有信箱" and the
    // account names), the address filter file, and whether a check or a deletion of filtered
    // mail runs (no deletion starts then).
    std::vector<std::string> m_mailboxes;
    std::string m_addressFile = ".\\Address.ini";
    std::function<bool()> m_checkRunning;

    // Fills the list again for the mailbox the chooser shows (the end of a check).
    void Refill();

    // What the window shows, for tests: the row state of every record, and the records of the
    // rows, in row order.
    const std::vector<int>& RowStates() const { return m_anRowState; }
    const std::vector<std::size_t>& ShownRecords() const { return m_shown; }
    CPreviewDeletion& Deletion() { return m_deletion; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnButtonClicked(int id) override;
    bool OnCommand(int id, int code) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroy() override;

private:
    // Ticks rows on a left click instead of selecting them.
    class CTickHook : public ui::CSubclassWnd {
    public:
        explicit CTickHook(CPreviewDlg& owner) : m_owner(owner) {}

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        CPreviewDlg& m_owner;
    };

    void SetUpList();
    void FillList(const std::string& mailbox);
    void ShowRowState(int row);
    void ShowTitle();
    void EnableCommands(bool enable);
    void ReadAddressCopy();
    void ClickRow(int row);
    void Select(Selection selection);
    void OnDelete();
    void OnStop();
    void OnAddAddresses();
    void OnMailboxChosen();
    int RowOf(std::size_t record) const;

    // The deletion thread's reports, carried to this window's thread.
    void OnRowOutcome(std::size_t record, int outcome) override;
    void OnDeletionEnded() override;
    void ApplyOutcome(std::size_t record, int outcome);
    void FinishDeletion();

    Prompter& m_prompter;
    const Charsets& m_charsets;
    std::vector<int> m_anRowState;             // one per record of the table
    std::vector<std::size_t> m_shown;          // the record of each row
    std::vector<MailRecord> m_records;         // the table as the list was filled from it
    std::string m_strMailbox = kAllMailboxes;  // the chooser's entry the list shows
    std::vector<std::string> m_addresses;      // the copy of the address filter list
    bool m_bStopping = false;                  // "中止(&s)" was pressed during this deletion

    std::array<ui::CHoverButton, 7> m_buttons;
    CTickHook m_tickHook{*this};
    ui::CListTip m_listTip;
    HIMAGELIST m_stateImages = nullptr;
    ui::CUiTaskQueue m_reports;
    CPreviewDeletion m_deletion;  // last: its thread ends before the rest goes
};

}  // namespace quorlet
