// The check cycle: three check slots, each a worker thread with its own POP3 session, visit the
// accounts of the table (three at a time), fill the mail table, and the last slot to run dry puts
// the table into account order and applies the filters. Afterwards a deletion run can delete the
// filtered mail on the servers.
//
// The workers never touch a window: they report through CheckObserver, whose implementation in
// the main window carries each report to the interface thread. The interface thread never waits
// for a worker.
//
// A check works on a copy of the account table taken when it starts. Rows are reported by their
// index in that copy, which is the row in the main list as long as no account is removed or
// reordered during the check (the main window refuses to change the accounts while busy; new
// accounts only append rows). The include flags are read live, through SetAccountEnabled.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/manual_reset_event.h"
#include "mail/filters.h"
#include "mail/mail_table.h"
#include "platform/charsets.h"
#include "platform/clock.h"
#include "platform/net.h"
#include "settings/account_record.h"

namespace quorlet {

// The small images of the main list's rows.
enum class RowImage { Aborted = 0, Connecting = 1, Idle = 2, Reading = 3 };

// Shown in the "邮件数" column of an account whose messages no longer fit the mail table.
inline constexpr const char* kMailTableFull = "列表已满";
// Shown for an account given up at the abort command before its messages were counted, as for
// an aborted connect: the wait that was cut says nothing about the server.
inline constexpr const char* kAccountAborted = "连接失败";
// Shown for an account whose check ran out of memory.
inline constexpr const char* kAccountOutOfMemory = "初始化失败";
// The check's threads could not be started ("错误").
inline constexpr const char* kCheckThreadsFailed = "创建POP3线程失败, 请重新运行程序 !";

class CheckObserver {
public:
    virtual ~CheckObserver() = default;
    // A row's small image changed (the main window also rewrites its name and check box).
    virtual void OnRowImage(int row, RowImage image) = 0;
    // The "邮件数" and "大小" texts of a row; after a failure the count column holds the error
    // text and the size is empty.
    virtual void OnRowResult(int row, const std::string& count, const std::string& size) = 0;
    // The check has ended; the mail table is in account order and filtered. The main window
    // refreshes an open preview, enables the check command and starts its notification timer.
    virtual void OnCheckFinished(bool haveMail, bool haveFiltered) = 0;
    // A deletion run has ended; the mail table holds its statuses.
    virtual void OnDeletionFinished() = 0;
};

struct CheckSlot {
    std::string m_strAccount;
    std::string m_strServer;
    std::string m_strUser;
    std::string m_strPassword;
    MailSecurity m_nSecurity = MailSecurity::None;
    int m_nAccount = 0;
    std::atomic<bool> m_bAbort{false};
    std::atomic<bool>* m_pAbortConnect = nullptr;  // the slot session's socket abort field
    bool m_bAssigned = false;
};

// A server without its own ":port" is reached on the port of its account's security choice.
struct CheckOptions {
    std::chrono::milliseconds connectLimit = kNetWaitLimit;
    std::chrono::milliseconds replyLimit = kNetWaitLimit;          // one reply line
    std::chrono::milliseconds wholeReplyLimit = kWholeReplyLimit;  // a LIST or TOP reply
    std::string spoolFolder;  // prefix of the spool file names; empty: the current directory
};

class CCheckCycle {
public:
    enum class Start { Started, Busy, ThreadFailed };
    using ThreadLauncher = std::function<std::thread(std::function<void()>)>;

    CCheckCycle(Net& net, MailTable& mails, CheckObserver& observer, const Clock& clock,
                const Charsets& charsets);
    // Stops whatever runs (as the abort command does, and skipping the accounts not yet started)
    // and waits for the threads.
    ~CCheckCycle();
    CCheckCycle(const CCheckCycle&) = delete;
    CCheckCycle& operator=(const CCheckCycle&) = delete;

    void SetOptions(CheckOptions options) { m_options = std::move(options); }
    // Tests replace how threads are started, to see a start that fails.
    void SetThreadLauncher(ThreadLauncher launcher) { m_launch = std::move(launcher); }

    // Starts a check of every account of the table with the filters given. Busy while a check or
    // a deletion run is going on; ThreadFailed when the slot threads cannot be started (the
    // caller shows "创建POP3线程失败, 请重新运行程序 !" and nothing has changed).
    Start StartCheck(const AccountTable& accounts, FilterSet filters);

    // The abort command. During a check: every slot that is checking an enabled account gives
    // that account up (a connect or a reply wait ends within about 100 ms); returns their rows,
    // which the main window shows with the aborted image until the slot reports the row's end.
    // During a deletion run: raises its stop request (a connect, a login or the confirmation of
    // a message gives up at once, never a DELE or QUIT; the records not yet deleted become 'R').
    std::vector<int> AbortCheck();

    // Starts the deletion of the filtered mail: Busy while a check or another run is going on;
    // ThreadFailed when its thread cannot be started (the caller shows
    // "程序出现错误(0xAD),请重新运行 !").
    Start StartDeleteFiltered();

    // The busy flag: a check or a deletion run is going on.
    bool IsBusy() const { return m_bChecking.load(); }
    bool IsDeleting() const { return m_bDeleting.load(); }

    // The include flag of an account, read by the slot that reaches it.
    void SetAccountEnabled(std::size_t index, bool enabled);

private:
    // How a slot's account ended: its row, and the texts of its "邮件数" and "大小" columns
    // unless nothing is written (a disabled account).
    struct RowEnd {
        bool assigned = false;  // the slot had an account, so a row to report
        int row = 0;
        bool write = false;
        std::string count;
        std::string size;
    };

    void CheckSlotThread(int k);
    RowEnd CheckAccount(int k, class CPop3Session& session);
    RowEnd OutOfMemory(int k);
    void HandOver(int k, const RowEnd& end, bool& finished);
    void FinishCheck();  // with the mail table's lock held
    void DeleteFilteredThread();
    void DeleteFiltered(class CPop3Session& session);
    void DeleteRun(class CPop3Session& session, std::vector<MailRecord>& records, std::size_t first,
                   std::size_t end);
    // A login or a confirmation, which the stop request may cut: nothing is deleted there.
    // False, without running it, when the run has been asked to stop.
    bool RunCuttable(class CPop3Session& session, const std::function<bool()>& step);
    void SetStatus(std::size_t index, int status);
    void AssignSlot(int k, int account);
    void JoinThreads();
    std::string SpoolName(const char* name) const { return m_options.spoolFolder + name; }

    Net& m_net;
    MailTable& m_mails;
    CheckObserver& m_observer;
    const Clock& m_clock;
    const Charsets& m_charsets;
    CheckOptions m_options;
    ThreadLauncher m_launch;

    std::array<CheckSlot, 3> m_slots;
    std::array<ManualResetEvent, 3> m_events;
    std::array<std::thread, 3> m_slotThreads;
    std::thread m_deleteThread;

    // Guarded by the mail table's lock (m_lockMails).
    AccountTable m_accounts;  // the copy the check works on
    FilterSet m_filters;
    int m_nNextAccount = 0;
    int m_nAccountsToCheck = 0;
    int m_nRunningSlots = 0;
    bool m_bCancel = false;  // the slots end without checking anything more

    std::array<std::atomic<bool>, kMaxAccounts> m_enabled{};
    std::atomic<bool> m_bChecking{false};
    std::atomic<bool> m_bDeleting{false};

    // The deletion run's stop request. The abort command raises the run's socket abort field
    // only while the run logs in or confirms a message, so that a stop never cuts the replies
    // of DELE and QUIT (a POP3 server deletes nothing unless QUIT succeeds); the destructor
    // raises it at any time.
    std::mutex m_stopLock;
    bool m_bDeleteCuttable = false;
    bool m_bClosing = false;
    std::atomic<bool>* m_pDeleteAbortConnect = nullptr;
    std::atomic<bool> m_bStopRequested{false};
};

}  // namespace quorlet
