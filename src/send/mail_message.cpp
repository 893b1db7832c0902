#include "send/mail_message.h"

namespace quorlet {

bool IsSafeMailAddress(std::string_view address) {
    return address.find_first_of(std::string_view("\r\n\0<>", 5)) == std::string_view::npos;
}

bool CMailMessage::AddRecipient(const std::string& address, const std::string& name) {
    if (!IsSafeMailAddress(address)) {
        return false;
    }
    m_arrRecipients.push_back({address, name});
    return true;
}

bool CMailMessage::AddRecipients(std::string_view text) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t semicolon = text.find(';', start);
        const std::size_t end = semicolon == std::string_view::npos ? text.size() : semicolon;
        const std::string_view piece = text.substr(start, end - start);
        const std::size_t open = piece.find('<');
        bool added;
        if (open == std::string_view::npos) {
            added = AddRecipient(std::string(piece), "");
        } else {
            const std::size_t close = piece.find('>');
            if (close == std::string_view::npos || close < open) {
                return false;
            }
            added = AddRecipient(std::string(piece.substr(open + 1, close - open - 1)),
                                 std::string(piece.substr(0, open)));
        }
        if (!added) {
            return false;
        }
        if (semicolon == std::string_view::npos) {
            return true;
        }
        start = semicolon + 1;
    }
}

bool CMailMessage::GetRecipient(int index, std::string& address, std::string& name) const {
    if (index < 0 || index >= GetRecipientCount()) {
        return false;
    }
    address = m_arrRecipients[static_cast<std::size_t>(index)].m_strAddress;
    name = m_arrRecipients[static_cast<std::size_t>(index)].m_strName;
    return true;
}

}  // namespace quorlet
