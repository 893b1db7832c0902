#include "mail/check_cycle.h"

#include <new>
#include <optional>
#include <system_error>

#include "mail/pop3_session.h"

namespace quorlet {
namespace {

constexpr const char* kListFiles[3] = {"QlList0.p3", "QlList1.p3", "QlList2.p3"};
constexpr const char* kTopFiles[3] = {"QlTop0.p3", "QlTop1.p3", "QlTop2.p3"};

std::thread LaunchThread(std::function<void()> body) {
    return std::thread(std::move(body));
}

}  // namespace

CCheckCycle::CCheckCycle(Net& net, MailTable& mails, CheckObserver& observer, const Clock& clock,
                         const Charsets& charsets)
    : m_net(net),
      m_mails(mails),
      m_observer(observer),
      m_clock(clock),
      m_charsets(charsets),
      m_launch(LaunchThread) {
    for (auto& enabled : m_enabled) {
        enabled = true;
    }
}

CCheckCycle::~CCheckCycle() {
    {
        std::lock_guard lock(m_mails.Lock());
        m_bCancel = true;
    }
    AbortCheck();
    {
        std::lock_guard lock(m_stopLock);
        m_bClosing = true;
        m_bStopRequested = true;
        if (m_pDeleteAbortConnect != nullptr) {
            *m_pDeleteAbortConnect = true;
        }
    }
    JoinThreads();
    if (m_deleteThread.joinable()) {
        m_deleteThread.join();
    }
}

void CCheckCycle::JoinThreads() {
    for (std::thread& t : m_slotThreads) {
        if (t.joinable()) {
            t.join();
        }
    }
}

void CCheckCycle::SetAccountEnabled(std::size_t index, bool enabled) {
    if (index < m_enabled.size()) {
        m_enabled[index] = enabled;
    }
}

void CCheckCycle::AssignSlot(int k, int account) {
    CheckSlot& slot = m_slots[static_cast<std::size_t>(k)];
    const AccountRecord& a = m_accounts[static_cast<std::size_t>(account)];
    slot.m_strAccount = a.m_strAccount;
    slot.m_strServer = a.m_strServer;
    slot.m_strUser = a.m_strUser;
    slot.m_strPassword = a.m_strPassword;
    slot.m_nSecurity = a.m_nSecurity;
    slot.m_nAccount = account;
    slot.m_bAssigned = true;
    // An abort meant for the slot's previous account must not reach this one.
    slot.m_bAbort = false;
    if (slot.m_pAbortConnect != nullptr) {
        *slot.m_pAbortConnect = false;
    }
}

CCheckCycle::Start CCheckCycle::StartCheck(const AccountTable& accounts, FilterSet filters) {
    if (m_bChecking) {
        return Start::Busy;
    }
    // The threads of the previous check have reported its end; they are ending or gone.
    JoinThreads();
    {
        std::lock_guard lock(m_mails.Lock());
        m_bCancel = false;
        m_nRunningSlots = 0;
        m_nAccountsToCheck = 0;
        m_nNextAccount = 0;
        for (auto& slot : m_slots) {
            slot.m_bAssigned = false;
        }
    }
    // A start that failed may have left events set for threads that never ran.
    for (auto& event : m_events) {
        event.Reset();
    }
    for (int k = 0; k < 3; ++k) {
        try {
            m_slotThreads[static_cast<std::size_t>(k)] =
                m_launch([this, k] { CheckSlotThread(k); });
        } catch (const std::system_error&) {
            // The threads already started end without checking anything.
            {
                std::lock_guard lock(m_mails.Lock());
                m_bCancel = true;
                m_nRunningSlots = k;
            }
            for (auto& event : m_events) {
                event.Set();
            }
            JoinThreads();
            return Start::ThreadFailed;
        }
    }
    {
        std::lock_guard lock(m_mails.Lock());
        m_accounts.assign(accounts.begin(), accounts.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                                   accounts.size(), kMaxAccounts)));
        for (std::size_t i = 0; i < m_accounts.size(); ++i) {
            m_enabled[i] = m_accounts[i].m_bEnabled;
        }
        m_filters = std::move(filters);
        m_nAccountsToCheck = static_cast<int>(m_accounts.size());
        m_nNextAccount = 0;
        m_nRunningSlots = 3;
        for (int k = 0; k < 3 && k < m_nAccountsToCheck; ++k) {
            AssignSlot(k, k);
            ++m_nNextAccount;
        }
        m_mails.Records().clear();
        m_bChecking = true;
    }
    for (auto& event : m_events) {
        event.Set();
    }
    return Start::Started;
}

std::vector<int> CCheckCycle::AbortCheck() {
    std::vector<int> rows;
    if (m_bDeleting) {
        std::lock_guard lock(m_stopLock);
        m_bStopRequested = true;
        if (m_bDeleteCuttable && m_pDeleteAbortConnect != nullptr) {
            *m_pDeleteAbortConnect = true;
        }
        return rows;
    }
    std::lock_guard lock(m_mails.Lock());
    for (CheckSlot& slot : m_slots) {
        if (slot.m_bAssigned && m_enabled[static_cast<std::size_t>(slot.m_nAccount)]) {
            slot.m_bAbort = true;
            if (slot.m_pAbortConnect != nullptr) {
                *slot.m_pAbortConnect = true;
            }
            rows.push_back(slot.m_nAccount);
        }
    }
    return rows;
}

void CCheckCycle::CheckSlotThread(int k) {
    CheckSlot& slot = m_slots[static_cast<std::size_t>(k)];
    // No exception leaves the thread: a slot without memory for its session gives its accounts
    // up and still hands over, so that the check ends.
    std::optional<CPop3Session> session;
    try {
        session.emplace(m_net, m_clock);
        session->SetTempFileNames(SpoolName(kListFiles[k]), SpoolName(kTopFiles[k]));
        session->SetWaitLimits(m_options.connectLimit, m_options.replyLimit,
                               m_options.wholeReplyLimit);
        std::lock_guard lock(m_mails.Lock());
        slot.m_pAbortConnect = &session->m_socket.m_bAbortConnect;
        session->m_socket.m_bAbortConnect = slot.m_bAbort.load();
    } catch (const std::bad_alloc&) {
        session.reset();
    }
    bool finished = false;
    while (!finished) {
        m_events[static_cast<std::size_t>(k)].Wait();
        m_events[static_cast<std::size_t>(k)].Reset();
        RowEnd end;
        try {
            end = session ? CheckAccount(k, *session) : OutOfMemory(k);
        } catch (const std::bad_alloc&) {
            if (session) {
                session->Close();
            }
            end = OutOfMemory(k);
        }
        HandOver(k, end, finished);
    }
    std::lock_guard lock(m_mails.Lock());
    slot.m_pAbortConnect = nullptr;
}

CCheckCycle::RowEnd CCheckCycle::OutOfMemory(int k) {
    const CheckSlot& slot = m_slots[static_cast<std::size_t>(k)];
    std::lock_guard lock(m_mails.Lock());
    RowEnd end;
    if (!m_bCancel && slot.m_bAssigned) {
        end.assigned = true;
        end.row = slot.m_nAccount;
        end.write = m_enabled[static_cast<std::size_t>(end.row)];
        end.count = kAccountOutOfMemory;  // short enough to need no memory of its own
    }
    return end;
}

CCheckCycle::RowEnd CCheckCycle::CheckAccount(int k, CPop3Session& session) {
    CheckSlot& slot = m_slots[static_cast<std::size_t>(k)];
    std::string server, user, password, name;
    MailSecurity security = MailSecurity::None;
    RowEnd end;
    {
        std::lock_guard lock(m_mails.Lock());
        if (m_bCancel) {
            return end;
        }
        end.assigned = slot.m_bAssigned;
        end.row = slot.m_nAccount;
        server = slot.m_strServer;
        user = slot.m_strUser;
        password = slot.m_strPassword;
        security = slot.m_nSecurity;
        name = slot.m_strAccount;
    }
    // An unassigned slot has no row of its own, and a disabled account is passed over.
    if (!end.assigned || !m_enabled[static_cast<std::size_t>(end.row)]) {
        return end;
    }
    const int row = end.row;
    end.write = true;
    // Every account starts with a clean error text, so no text of an earlier account can show.
    session.m_strError.clear();
    m_observer.OnRowImage(row, RowImage::Connecting);
    // Before the messages are counted, an account given up at the abort shows what an aborted
    // connect shows: the step that was cut did not fail.
    const auto gaveUp = [&] {
        session.Close();
        end.count = slot.m_bAbort ? std::string(kAccountAborted) : session.m_strError;
        return end;
    };
    if (!session.Open(server, DefaultPop3Port(security), user, password, security) ||
        slot.m_bAbort) {
        return gaveUp();
    }
    if (!session.Stat() || slot.m_bAbort) {
        return gaveUp();
    }
    m_observer.OnRowImage(row, RowImage::Reading);
    const int count = session.m_nMessages;
    const std::int64_t octets = session.m_nMailboxSize;
    if (count > 0) {
        // A LIST refused with -ERR leaves every size unknown (-1); one that was not read whole
        // has closed the connection, and the account is given up.
        if (slot.m_bAbort || (!session.List() && !session.m_socket.IsOpen())) {
            return gaveUp();
        }
        for (int i = 1; i <= count && !slot.m_bAbort; ++i) {
            const bool top = session.Top(i, 0);
            std::unique_lock lock(m_mails.Lock());
            std::vector<MailRecord>& records = m_mails.Records();
            if (!top && slot.m_bAbort) {
                break;  // the abort cut the read: the account ends with its counts
            }
            if (!top || records.size() >= MailTable::kCapacity) {
                lock.unlock();
                session.Close();
                end.count = top ? std::string(kMailTableFull) : session.m_strError;
                return end;
            }
            MailRecord r;
            r.m_strAccount = name;
            r.m_strServer = server;
            r.m_strUser = user;
            r.m_strPassword = password;
            r.m_nSecurity = security;
            r.m_nNumber = i;
            r.m_strFrom = session.m_strFrom;
            r.m_strSubject = session.m_strSubject;
            r.m_strDate = session.m_strDate;
            r.m_bDateMissing = session.m_bDateMissing;
            r.m_nSize = session.GetMessageSize(i);
            r.m_cEncoding = session.m_cEncoding;
            r.m_nStatus = kMailOrdinary;
            r.m_nAccountIndex = row;
            records.push_back(std::move(r));
        }
    }
    end.count = std::to_string(count);
    end.size = std::to_string(octets / 1024) + "KB";
    session.Quit();
    session.Close();
    return end;
}

void CCheckCycle::HandOver(int k, const RowEnd& end, bool& finished) {
    CheckSlot& slot = m_slots[static_cast<std::size_t>(k)];
    // The row's last reports and the hand-over are one step under the lock: an abort either
    // comes before them (and the row's end replaces the aborted image) or finds the slot free.
    std::lock_guard lock(m_mails.Lock());
    try {
        if (end.assigned) {
            if (end.write) {
                m_observer.OnRowResult(end.row, end.count, end.size);
            }
            m_observer.OnRowImage(end.row, RowImage::Idle);
        }
    } catch (const std::bad_alloc&) {
        // the row keeps what it showed
    }
    slot.m_bAssigned = false;
    if (!m_bCancel && m_nNextAccount < m_nAccountsToCheck) {
        try {
            AssignSlot(k, m_nNextAccount);
            ++m_nNextAccount;
            m_events[static_cast<std::size_t>(k)].Set();
            return;
        } catch (const std::bad_alloc&) {
            // This slot ends; the account waits for another one.
            slot.m_bAssigned = false;
        }
    }
    finished = true;
    --m_nRunningSlots;
    FinishCheck();
}

void CCheckCycle::FinishCheck() {
    // Only the last slot thread to end finishes the check.
    if (m_nRunningSlots > 0) {
        return;
    }
    if (m_bCancel) {
        m_bChecking = false;
        return;
    }
    for (const CheckSlot& slot : m_slots) {
        if (slot.m_bAssigned) {
            return;
        }
    }
    std::vector<MailRecord>& records = m_mails.Records();
    OrderByAccount(records);  // never throws: without memory it sorts in place
    bool haveFiltered = false;
    try {
        haveFiltered = ApplyFilters(records, m_filters, m_charsets);
    } catch (const std::bad_alloc&) {
        // the records marked so far stay marked
    }
    m_bChecking = false;
    try {
        m_observer.OnCheckFinished(!records.empty(), haveFiltered);
    } catch (const std::bad_alloc&) {
        // nothing more can be done
    }
}

}  // namespace quorlet
