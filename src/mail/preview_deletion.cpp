#include "mail/preview_deletion.h"

#include <new>
#include <system_error>

#include "mail/message_identity.h"
#include "mail/pop3_session.h"
#include "mail/preview_rows.h"

namespace quorlet {
namespace {

std::thread LaunchThread(std::function<void()> body) {
    return std::thread(std::move(body));
}

// Rows of one group: the same account name, server and user name.
bool SameGroup(const MailRecord& a, const MailRecord& b) {
    return a.m_strAccount == b.m_strAccount && SameMailbox(a, b);
}

}  // namespace

CPreviewDeletion::CPreviewDeletion(Net& net, const Clock& clock, MailTable& mails,
                                   PreviewDeletionObserver& observer)
    : m_net(net), m_clock(clock), m_mails(mails), m_observer(observer), m_launch(LaunchThread) {}

CPreviewDeletion::~CPreviewDeletion() {
    StopAndWait();
}

void CPreviewDeletion::StopAndWait() {
    {
        std::lock_guard lock(m_stopLock);
        m_bClosing = true;
        m_bStopDelete = true;
        if (m_pAbortConnect != nullptr) {
            *m_pAbortConnect = true;
        }
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

CPreviewDeletion::Start CPreviewDeletion::StartDeletion(std::vector<PreviewDeletionRow> rows) {
    if (m_bRunning) {
        return Start::Busy;
    }
    if (m_thread.joinable()) {
        m_thread.join();  // the previous run has reported its end
    }
    {
        std::lock_guard lock(m_stopLock);
        m_bStopDelete = false;
        m_bClosing = false;
    }
    m_bRunning = true;
    try {
        m_thread = m_launch(
            [this, rows = std::move(rows)]() mutable { DeleteMarkedThread(std::move(rows)); });
    } catch (const std::system_error&) {
        m_bRunning = false;
        return Start::ThreadFailed;
    }
    return Start::Started;
}

void CPreviewDeletion::Stop() {
    std::lock_guard lock(m_stopLock);
    m_bStopDelete = true;
    if (m_bInStep && m_pAbortConnect != nullptr) {
        *m_pAbortConnect = true;
    }
}

bool CPreviewDeletion::Step(CPop3Session& session, bool evenAfterStop,
                            const std::function<bool()>& exchange) {
    {
        std::lock_guard lock(m_stopLock);
        if ((m_bStopDelete && !evenAfterStop) || m_bClosing) {
            return false;
        }
        m_bInStep = true;
    }
    bool ok = false;
    try {
        ok = exchange();
    } catch (...) {
        std::lock_guard lock(m_stopLock);
        m_bInStep = false;
        throw;
    }
    std::lock_guard lock(m_stopLock);
    m_bInStep = false;
    // A cut exchange has closed the connection; the field is ready for the next one.
    if (!m_bClosing) {
        session.m_socket.m_bAbortConnect = false;
    }
    return ok;
}

bool CPreviewDeletion::StopRequested() {
    std::lock_guard lock(m_stopLock);
    return m_bStopDelete;
}

void CPreviewDeletion::Settle(PreviewDeletionRow& row, int outcome) {
    if (outcome != kMailNoLogin) {
        row.state = outcome;
        std::lock_guard lock(m_mails.Lock());
        std::vector<MailRecord>& records = m_mails.Records();
        if (row.record < records.size()) {
            records[row.record].m_nStatus = outcome;
        }
    }
    m_observer.OnRowOutcome(row.record, outcome);
}

void CPreviewDeletion::DeleteMarkedThread(std::vector<PreviewDeletionRow> rows) {
    {
        CPop3Session session(m_net, m_clock);
        {
            std::lock_guard lock(m_stopLock);
            session.m_socket.m_bAbortConnect = m_bClosing;
            m_pAbortConnect = &session.m_socket.m_bAbortConnect;
        }
        // No exception leaves the thread: without memory the run ends where it is, and the rows
        // it did not reach keep their states.
        try {
            DeleteMarked(session, rows);
        } catch (const std::bad_alloc&) {
            session.Close();
        }
        std::lock_guard lock(m_stopLock);
        m_pAbortConnect = nullptr;
    }
    m_bRunning = false;
    try {
        m_observer.OnDeletionEnded();
    } catch (const std::bad_alloc&) {
        // nothing more can be done
    }
}

void CPreviewDeletion::DeleteMarked(CPop3Session& session, std::vector<PreviewDeletionRow>& rows) {
    // The confirmation's TOP spools to files of its own; no check runs beside a deletion.
    session.SetTempFileNames(m_options.spoolFolder + "QlList4.p3",
                             m_options.spoolFolder + "QlTop4.p3");
    session.SetWaitLimits(m_options.connectLimit, m_options.replyLimit, m_options.wholeReplyLimit);
    std::size_t i = 0;
    while (i < rows.size()) {
        if (StopRequested()) {
            break;  // the groups not reached keep their states
        }
        if (!IsChosenRow(rows[i].state)) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < rows.size() && SameGroup(rows[end].mail, rows[i].mail)) {
            ++end;
        }
        const MailRecord& r = rows[i].mail;
        const bool opened = Step(session, false, [&] {
            return session.Open(r.m_strServer, DefaultPop3Port(r.m_nSecurity), r.m_strUser,
                                r.m_strPassword, r.m_nSecurity);
        });
        if (opened) {
            DeleteGroup(session, rows, i, end);
            i = end;
            continue;
        }
        session.Close();
        if (StopRequested()) {
            // Stopped while logging in: the group stays on the server as it is.
            for (std::size_t j = i; j < end; ++j) {
                if (!IsSettledRow(rows[j].state)) {
                    Settle(rows[j], kMailLeft);
                }
            }
            break;
        }
        Settle(rows[i], kMailNoLogin);  // a later chosen row of the group tries again
        ++i;
    }
}

void CPreviewDeletion::DeleteGroup(CPop3Session& session, std::vector<PreviewDeletionRow>& rows,
                                   std::size_t first, std::size_t end) {
    std::vector<std::size_t> deleted;
    deleted.reserve(end - first);
    for (std::size_t j = first; j < end; ++j) {
        PreviewDeletionRow& row = rows[j];
        if (IsSettledRow(row.state)) {
            continue;  // settled by an earlier run: a deleted row stays "已删除"
        }
        if (!IsChosenRow(row.state) || StopRequested()) {
            Settle(row, kMailLeft);
            continue;
        }
        // Nothing is deleted before DELE; a stop before it leaves the message where it is.
        const bool same = Step(session, false, [&] { return IsSameMessage(session, row.mail); });
        if (StopRequested()) {
            Settle(row, kMailLeft);
        } else if (!same) {
            Settle(row, kMailRefused);  // changed on the server since the check: not the one seen
        } else if (Step(session, false, [&] { return session.Dele(row.mail.m_nNumber); })) {
            deleted.push_back(j);
            Settle(row, kMailDeleted);
        } else {
            // A DELE cut by the stop has closed the connection: the message stays on the server.
            Settle(row, StopRequested() ? kMailLeft : kMailRefused);
        }
    }
    // The server deletes nothing unless QUIT succeeds.
    const bool quit =
        session.m_socket.IsOpen() && Step(session, true, [&] { return session.Quit(); });
    if (!quit) {
        for (std::size_t j : deleted) {
            Settle(rows[j], kMailRefused);
        }
    }
    session.Close();
}

}  // namespace quorlet
