// One short plain-text message as the compose window fills it: sender, recipients, subject and
// body. The header block is made by the SMTP session when it sends the message.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/civil_time.h"

namespace quorlet {

struct MailRecipient {
    std::string m_strAddress;  // the part between the angle brackets
    std::string m_strName;     // the display name, possibly empty
};

class CMailMessage {
public:
    virtual ~CMailMessage() = default;

    // Appends one recipient. False (nothing added) for an address that could break the SMTP
    // dialogue or the header: one holding CR, LF, NUL, "<" or ">".
    bool AddRecipient(const std::string& address, const std::string& name);

    // Splits a recipient text at every ";" (the end closes the last piece, so "a;" gives a
    // second, empty entry). A piece is "address" or "name<address>"; nothing is trimmed. False
    // at the first piece with "<" but no ">" after it, or with an address refused above; the
    // entries of earlier pieces stay.
    bool AddRecipients(std::string_view text);

    // False, with the outputs untouched, when the index is out of range.
    bool GetRecipient(int index, std::string& address, std::string& name) const;
    int GetRecipientCount() const { return static_cast<int>(m_arrRecipients.size()); }

    std::string m_strFrom;  // the reply address: MAIL From and the From header
    std::string m_strSubject;
    std::string m_strHeader;  // made when the message is sent
    CivilTime m_tmTimestamp;  // the Date of the header, set with it
    std::string m_strBody;
    std::vector<MailRecipient> m_arrRecipients;
};

// An address that may go between angle brackets: no CR, LF, NUL, "<" or ">".
bool IsSafeMailAddress(std::string_view address);

}  // namespace quorlet
