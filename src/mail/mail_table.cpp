#include "mail/mail_table.h"

#include <algorithm>

namespace quorlet {

bool SameMailbox(const MailRecord& a, const MailRecord& b) {
    return a.m_strServer == b.m_strServer && a.m_strUser == b.m_strUser;
}

void OrderByAccount(std::vector<MailRecord>& records) {
    // Each record knows the account it was read for, so two accounts that name the same mailbox
    // keep one copy of each record each, not one per account that matches.
    std::stable_sort(records.begin(), records.end(), [](const MailRecord& a, const MailRecord& b) {
        return a.m_nAccountIndex < b.m_nAccountIndex;
    });
}

}  // namespace quorlet
