// Message numbers are valid only for the session in which they were read, and another mail
// program may have changed the mailbox since the check. Before a deletion the program makes sure
// that message n is still the one the user saw.
#pragma once

#include "mail/mail_table.h"
#include "mail/pop3_session.h"

namespace quorlet {

// Whether the message with the record's number on the open session still has the record's size
// (LIST n; not compared when the check had no size for it) and its From, Subject and Date
// (TOP n 0). False when the server does not answer either.
bool IsSameMessage(CPop3Session& session, const MailRecord& record);

}  // namespace quorlet
