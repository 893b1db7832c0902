// The preview's deletion (DeleteMarkedThread): the messages of the rows the user chose are
// deleted on their servers, one login per mailbox, each confirmed first (LIST n and TOP n 0) to
// be still the message the row shows. The thread never touches a window: it writes the statuses
// into the mail table and reports every row to its observer, which carries the report to the
// interface thread.
//
// Nothing is reported deleted that the server did not commit: a POP3 server deletes only when
// QUIT succeeds, so a group whose QUIT fails (or is never sent) turns its "已删除" rows into
// "删除失败". The stop command cuts a connect or any reply wait at once; the rest of the group
// stays on the server.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "mail/mail_table.h"
#include "platform/clock.h"
#include "platform/net.h"

namespace quorlet {

class CPop3Session;

class PreviewDeletionObserver {
public:
    virtual ~PreviewDeletionObserver() = default;
    // Record `record` has a new row state: 'D', 'R' or 'F'; or 'E' when the login for it failed
    // (the row shows "连接失败" and keeps its state).
    virtual void OnRowOutcome(std::size_t record, int outcome) = 0;
    // The thread has ended.
    virtual void OnDeletionEnded() = 0;
};

// A server without its own ":port" is reached on the port of its account's security choice,
// as in the check.
struct PreviewDeletionOptions {
    std::chrono::milliseconds connectLimit = kNetWaitLimit;
    std::chrono::milliseconds replyLimit = kNetWaitLimit;
    std::chrono::milliseconds wholeReplyLimit = kWholeReplyLimit;
    std::string spoolFolder;  // prefix of the confirmation's spool files
};

// One shown row: its record's index in the mail table, a copy of the record, its row state.
struct PreviewDeletionRow {
    std::size_t record = 0;
    MailRecord mail;
    int state = 0;
};

class CPreviewDeletion {
public:
    enum class Start { Started, Busy, ThreadFailed };
    using ThreadLauncher = std::function<std::thread(std::function<void()>)>;

    CPreviewDeletion(Net& net, const Clock& clock, MailTable& mails,
                     PreviewDeletionObserver& observer);
    // Cuts whatever the thread waits for and waits for it.
    ~CPreviewDeletion();
    CPreviewDeletion(const CPreviewDeletion&) = delete;
    CPreviewDeletion& operator=(const CPreviewDeletion&) = delete;

    void SetOptions(PreviewDeletionOptions options) { m_options = std::move(options); }
    void SetThreadLauncher(ThreadLauncher launcher) { m_launch = std::move(launcher); }

    // Starts DeleteMarkedThread over the shown rows, in their order.
    Start StartDeletion(std::vector<PreviewDeletionRow> rows);
    // "中止(&s)": the walk stops; a connect or reply being waited for is cut at once.
    void Stop();
    // Stops as the destructor does and waits for the thread (its reports may be dropped).
    void StopAndWait();
    bool IsRunning() const { return m_bRunning.load(); }

private:
    void DeleteMarkedThread(std::vector<PreviewDeletionRow> rows);
    void DeleteMarked(CPop3Session& session, std::vector<PreviewDeletionRow>& rows);
    void DeleteGroup(CPop3Session& session, std::vector<PreviewDeletionRow>& rows,
                     std::size_t first, std::size_t end);
    // One exchange with the server, which the stop command may cut. After a stop only QUIT
    // runs (evenAfterStop); everything else is then not started.
    bool Step(CPop3Session& session, bool evenAfterStop, const std::function<bool()>& exchange);
    bool StopRequested();
    void Settle(PreviewDeletionRow& row, int outcome);

    Net& m_net;
    const Clock& m_clock;
    MailTable& m_mails;
    PreviewDeletionObserver& m_observer;
    PreviewDeletionOptions m_options;
    ThreadLauncher m_launch;
    std::thread m_thread;
    std::atomic<bool> m_bRunning{false};

    // m_bStopDelete and the session's abort field (m_pAbortConnect), under m_stopLock: the stop
    // raises the abort field only while an exchange runs, so one that comes between two commands
    // still lets the group's QUIT through.
    std::mutex m_stopLock;
    bool m_bStopDelete = false;
    bool m_bClosing = false;
    bool m_bInStep = false;
    std::atomic<bool>* m_pAbortConnect = nullptr;
};

}  // namespace quorlet
