// The deletion of filtered mail, a run of the check cycle after a check: every marked record is
// deleted on its server, one session per mailbox.
#include <functional>
#include <new>
#include <system_error>

#include "mail/check_cycle.h"
#include "mail/message_identity.h"
#include "mail/pop3_session.h"

namespace quorlet {
namespace {

// Records a deletion run passes over: ordinary mail and what an earlier run already settled.
bool PassedOver(int status) {
    return status == kMailOrdinary || status == kMailDeleted || status == kMailLeft;
}

}  // namespace

CCheckCycle::Start CCheckCycle::StartDeleteFiltered() {
    if (m_bChecking) {
        return Start::Busy;
    }
    if (m_deleteThread.joinable()) {
        m_deleteThread.join();  // the previous run has reported its end
    }
    m_bChecking = true;
    m_bDeleting = true;
    {
        std::lock_guard lock(m_stopLock);
        m_bStopRequested = false;
    }
    try {
        m_deleteThread = m_launch([this] { DeleteFilteredThread(); });
    } catch (const std::system_error&) {
        m_bDeleting = false;
        m_bChecking = false;
        return Start::ThreadFailed;
    }
    return Start::Started;
}

void CCheckCycle::SetStatus(std::size_t index, int status) {
    std::lock_guard lock(m_mails.Lock());
    std::vector<MailRecord>& records = m_mails.Records();
    if (index < records.size()) {
        records[index].m_nStatus = status;
    }
}

bool CCheckCycle::RunCuttable(CPop3Session& session, const std::function<bool()>& step) {
    {
        std::lock_guard lock(m_stopLock);
        if (m_bStopRequested) {
            return false;
        }
        m_bDeleteCuttable = true;
    }
    bool ok = false;
    try {
        ok = step();
    } catch (...) {
        std::lock_guard lock(m_stopLock);
        m_bDeleteCuttable = false;
        throw;
    }
    std::lock_guard lock(m_stopLock);
    m_bDeleteCuttable = false;
    // A stop that came as the step ended finds it over: a reply it cut has closed the
    // connection, and one read whole leaves the connection fit for QUIT.
    if (!m_bClosing) {
        session.m_socket.m_bAbortConnect = false;
    }
    return ok;
}

void CCheckCycle::DeleteFilteredThread() {
    {
        CPop3Session session(m_net, m_clock);
        {
            std::lock_guard lock(m_stopLock);
            session.m_socket.m_bAbortConnect = m_bClosing;
            m_pDeleteAbortConnect = &session.m_socket.m_bAbortConnect;
        }
        // No exception leaves the thread: a run without memory ends here, and the records it
        // did not reach keep their marks for a later run.
        try {
            DeleteFiltered(session);
        } catch (const std::bad_alloc&) {
            session.Close();
        }
        std::lock_guard lock(m_stopLock);
        m_pDeleteAbortConnect = nullptr;
    }
    m_bDeleting = false;
    m_bChecking = false;
    try {
        m_observer.OnDeletionFinished();
    } catch (const std::bad_alloc&) {
        // nothing more can be done
    }
}

void CCheckCycle::DeleteFiltered(CPop3Session& session) {
    // The spool files of the confirmation's TOP; no check runs beside a deletion.
    session.SetTempFileNames(SpoolName("QlList3.p3"), SpoolName("QlTop3.p3"));
    session.SetWaitLimits(m_options.connectLimit, m_options.replyLimit, m_options.wholeReplyLimit);
    std::vector<MailRecord> records = m_mails.Snapshot();
    std::size_t i = 0;
    while (i < records.size()) {
        if (PassedOver(records[i].m_nStatus)) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < records.size() && SameMailbox(records[end], records[i])) {
            ++end;
        }
        const MailRecord& r = records[i];
        const bool opened = RunCuttable(session, [&] {
            return session.Open(r.m_strServer, DefaultPop3Port(r.m_nSecurity), r.m_strUser,
                                r.m_strPassword, r.m_nSecurity);
        });
        if (opened) {
            DeleteRun(session, records, i, end);
            i = end;
        } else if (m_bStopRequested) {
            // Stopped before this mailbox was reached: what is left stays on the server.
            session.Close();
            for (; i < end; ++i) {
                SetStatus(i, kMailLeft);
            }
        } else {
            session.Close();
            SetStatus(i, kMailNoLogin);  // a later marked record of the run tries again
            ++i;
        }
    }
}

void CCheckCycle::DeleteRun(CPop3Session& session, std::vector<MailRecord>& records,
                            std::size_t first, std::size_t end) {
    // The records deleted in this session; reserved first, so that noting one cannot fail.
    std::vector<std::size_t> deleted;
    deleted.reserve(end - first);
    bool quit = false;
    try {
        for (std::size_t j = first; j < end; ++j) {
            int status;
            if (PassedOver(records[j].m_nStatus) || m_bStopRequested) {
                status = kMailLeft;
            } else {
                // Nothing is deleted before DELE, so a stop may cut the confirmation.
                const bool same =
                    RunCuttable(session, [&] { return IsSameMessage(session, records[j]); });
                if (m_bStopRequested) {
                    status = kMailLeft;
                } else if (!same) {
                    status =
                        kMailRefused;  // the mailbox changed since the check: not the mail seen
                } else if (session.Dele(records[j].m_nNumber)) {
                    status = kMailDeleted;
                    deleted.push_back(j);
                } else {
                    status = kMailRefused;
                }
            }
            records[j].m_nStatus = status;
            SetStatus(j, status);
        }
        // The server deletes nothing unless QUIT succeeds; after a reply that was not read whole
        // the connection is closed, and QUIT fails with it.
        quit = session.Quit();
    } catch (const std::bad_alloc&) {
        session.Close();
        for (std::size_t j : deleted) {
            SetStatus(j, kMailRefused);
        }
        throw;
    }
    if (!quit) {
        for (std::size_t j : deleted) {
            records[j].m_nStatus = kMailRefused;
            SetStatus(j, kMailRefused);
        }
    }
    session.Close();
}

}  // namespace quorlet
