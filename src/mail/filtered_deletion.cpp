// The deletion of filtered mail, a run of the check cycle after a check: every marked record is
// deleted on its server, one session per mailbox.
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
        m_bStopDelete = false;
        m_bStopRequested = false;
    }
    try {
        m_deleteThread = m_launch([this] { DeleteFilteredThread(); });
    } catch (const std::system_error&) {
        std::lock_guard lock(m_stopLock);
        m_bStopDelete = true;
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

void CCheckCycle::DeleteFilteredThread() {
    {
        CPop3Session session(m_net, m_clock);
        // The spool files of the confirmation's TOP; no check runs beside a deletion.
        session.SetTempFileNames(SpoolName("QlList3.p3"), SpoolName("QlTop3.p3"));
        session.SetWaitLimits(m_options.connectLimit, m_options.replyLimit);
        {
            std::lock_guard lock(m_stopLock);
            session.m_socket.m_bAbortConnect = m_bStopDelete;
            m_pDeleteAbortConnect = &session.m_socket.m_bAbortConnect;
        }
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
            bool opened = false;
            if (!m_bStopRequested) {
                {
                    std::lock_guard lock(m_stopLock);
                    session.m_socket.m_bAbortConnect = m_bStopDelete;
                    m_bDeleteOpening = true;
                }
                const MailRecord& r = records[i];
                opened = session.Open(r.m_strServer, m_options.port, r.m_strUser, r.m_strPassword);
                std::lock_guard lock(m_stopLock);
                m_bDeleteOpening = false;
            }
            if (opened) {
                DeleteRun(session, records, i, end);
                i = end;
            } else if (m_bStopRequested) {
                // Stopped before this mailbox was reached: what is left stays on the server.
                for (; i < end; ++i) {
                    SetStatus(i, kMailLeft);
                }
            } else {
                session.Close();
                SetStatus(i, kMailNoLogin);  // a later marked record of the run tries again
                ++i;
            }
        }
        std::lock_guard lock(m_stopLock);
        m_pDeleteAbortConnect = nullptr;
    }
    {
        std::lock_guard lock(m_stopLock);
        m_bStopDelete = true;
    }
    m_bDeleting = false;
    m_bChecking = false;
    m_observer.OnDeletionFinished();
}

void CCheckCycle::DeleteRun(CPop3Session& session, std::vector<MailRecord>& records,
                            std::size_t first, std::size_t end) {
    std::vector<std::size_t> deleted;
    for (std::size_t j = first; j < end; ++j) {
        int status;
        if (PassedOver(records[j].m_nStatus) || m_bStopRequested) {
            status = kMailLeft;
        } else if (!IsSameMessage(session, records[j])) {
            status = kMailRefused;  // the mailbox changed since the check: not the mail seen
        } else if (session.Dele(records[j].m_nNumber)) {
            status = kMailDeleted;
            deleted.push_back(j);
        } else {
            status = kMailRefused;
        }
        records[j].m_nStatus = status;
        SetStatus(j, status);
    }
    // The server deletes nothing unless QUIT succeeds.
    if (!session.Quit()) {
        for (std::size_t j : deleted) {
            records[j].m_nStatus = kMailRefused;
            SetStatus(j, kMailRefused);
        }
    }
    session.Close();
}

}  // namespace quorlet
