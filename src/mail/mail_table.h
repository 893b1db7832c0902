// The mail table: one record per message the last check found, at most 512. The check slots
// append to it, the filters mark it, the deletion runs write its statuses and the preview shows
// it. One mutex guards it; the check cycle also guards its slot hand-over with the same mutex.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "settings/mail_security.h"

namespace quorlet {

// Values of MailRecord::m_nStatus.
inline constexpr int kMailOrdinary = 0;
inline constexpr int kMailMarked = 1;     // hit by a filter
inline constexpr int kMailDeleted = 'D';  // deleted on the server
inline constexpr int kMailRefused = 'F';  // DELE refused, or not deleted because it changed
inline constexpr int kMailNoLogin = 'E';  // could not log in to delete it
inline constexpr int kMailLeft = 'R';     // left on the server by a deletion run

struct MailRecord {
    std::string m_strAccount;
    std::string m_strServer;
    std::string m_strUser;
    std::string m_strPassword;
    MailSecurity m_nSecurity = MailSecurity::None;  // the account's, for the deletions' logins
    int m_nNumber = 0;      // message number, valid only while the check's POP3 login lasts
    std::string m_strFrom;  // raw header fields
    std::string m_strSubject;
    std::string m_strDate;      // the time of the check when the message has no Date line
    std::int64_t m_nSize = -1;  // octets from LIST; -1 when LIST gave no entry for it
    char m_cEncoding = 0;       // 'B', 'Q' or 0
    int m_nStatus = kMailOrdinary;
    // Not shown: whether the Date line was missing (so m_strDate is the time of the check), and
    // the index of the account in the table the check worked on.
    bool m_bDateMissing = false;
    int m_nAccountIndex = 0;
};

// Records of one mailbox in a row: the same server and user name.
bool SameMailbox(const MailRecord& a, const MailRecord& b);

class MailTable {
public:
    static constexpr std::size_t kCapacity = 512;

    // The table's mutex (m_lockMails). Hold it for every use of Records().
    std::mutex& Lock() const { return m_lock; }
    std::vector<MailRecord>& Records() { return m_records; }
    const std::vector<MailRecord>& Records() const { return m_records; }

    // Copies taken under the lock, for readers on another thread.
    std::vector<MailRecord> Snapshot() const {
        std::lock_guard lock(m_lock);
        return m_records;
    }
    std::size_t Count() const {
        std::lock_guard lock(m_lock);
        return m_records.size();
    }

private:
    mutable std::mutex m_lock;
    std::vector<MailRecord> m_records;
};

// Puts records of one account together, the accounts in table order, each account's records in
// their old order (by message number, as a slot appends them).
void OrderByAccount(std::vector<MailRecord>& records);

}  // namespace quorlet
