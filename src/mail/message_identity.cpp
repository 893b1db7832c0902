#include "mail/message_identity.h"

namespace quorlet {

bool IsSameMessage(CPop3Session& session, const MailRecord& record) {
    if (record.m_nSize >= 0) {
        std::int64_t size = -1;
        if (!session.ListMessage(record.m_nNumber, size) || size != record.m_nSize) {
            return false;
        }
    }
    if (!session.Top(record.m_nNumber, 0)) {
        return false;
    }
    // A message without a Date line carries the time of each reading; only the absence counts.
    return session.m_strFrom == record.m_strFrom && session.m_strSubject == record.m_strSubject &&
           session.m_bDateMissing == record.m_bDateMissing &&
           (record.m_bDateMissing || session.m_strDate == record.m_strDate);
}

}  // namespace quorlet
