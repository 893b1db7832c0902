// CPreviewDlg: the mail preview's single object. It lives for the whole run of the program,
// whether or not its window is open, and holds the mail table that each check fills, the count
// of messages deleted from the preview since the last check, and whether its own deletion runs.
// The window itself (dialog 156) is built on this object with the preview.
#pragma once

#include <atomic>

#include "mail/mail_table.h"

namespace quorlet {

class CPreviewDlg {
public:
    MailTable m_mails;
    int m_nDeleted = 0;                    // reset by every check start
    std::atomic<bool> m_bDeleting{false};  // the preview's own deletion runs; no check starts
};

}  // namespace quorlet
