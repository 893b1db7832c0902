#include "mail/preview_rows.h"

#include <algorithm>

#include "base/c_numbers.h"
#include "mail/filters.h"
#include "mail/header_decoder.h"
#include "mail/mail_date.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"

namespace quorlet {

bool IsSettledRow(int state) {
    return state == kMailDeleted || state == kMailLeft || state == kMailRefused;
}

bool IsChosenRow(int state) {
    return state == kRowTicked || state == kMailNoLogin;
}

bool HasChosenRows(const std::vector<int>& states, const std::vector<std::size_t>& rows) {
    return std::any_of(rows.begin(), rows.end(),
                       [&](std::size_t i) { return i < states.size() && IsChosenRow(states[i]); });
}

int ClickedRow(int state) {
    if (IsSettledRow(state)) {
        return state;
    }
    return state == kRowTicked ? kRowUnticked : kRowTicked;
}

int SelectedRow(int state, Selection selection) {
    if (IsSettledRow(state)) {
        return state;
    }
    switch (selection) {
        case Selection::All:
            return kRowTicked;
        case Selection::None:
            return kRowUnticked;
        case Selection::Invert:
            return ClickedRow(state);
    }
    return state;
}

std::string RowStatusText(int state) {
    switch (state) {
        case kMailDeleted:
            return "已删除";
        case kMailLeft:
            return "正常";
        case kMailNoLogin:
            return "连接失败";
        case kMailRefused:
            return "删除失败";
        default:
            return "";
    }
}

PreviewColumnTexts RowTexts(const MailRecord& record, int state, const Charsets& charsets) {
    PreviewColumnTexts texts;
    texts[0] = record.m_strAccount;
    texts[1] = DecodeHeaderText(record.m_strFrom, record.m_cEncoding, charsets);
    texts[2] = DecodeHeaderText(record.m_strSubject, record.m_cEncoding, charsets);
    NormaliseDate(record.m_strDate, texts[3]);  // the raw text when it cannot be rewritten
    texts[4] = std::to_string(record.m_nSize);
    texts[5] = RowStatusText(state);
    return texts;
}

std::vector<std::size_t> ChooseRows(const std::vector<MailRecord>& records,
                                    std::string_view mailbox, std::vector<int>& states) {
    states.resize(records.size(), kRowUnticked);
    std::vector<std::size_t> shown;
    const bool all = mailbox == kAllMailboxes;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (all || records[i].m_strAccount == mailbox) {
            shown.push_back(i);
            states[i] = records[i].m_nStatus;
        } else if (states[i] == kRowTicked) {
            states[i] = kRowUnticked;
        }
    }
    return shown;
}

std::string PreviewTitle(std::size_t messages, int deleted) {
    return "邮件预览(信件数:" + std::to_string(messages) +
           " 已删除信件:" + std::to_string(deleted) + ")";
}

SenderAddition SendersToAdd(const std::vector<MailRecord>& records,
                            const std::vector<std::size_t>& shown, const std::vector<int>& states,
                            const std::vector<std::string>& addressList) {
    SenderAddition addition;
    for (std::size_t i : shown) {
        if (i >= records.size() || i >= states.size() || states[i] != kRowTicked ||
            records[i].m_strFrom.empty()) {
            continue;
        }
        const std::string& from = records[i].m_strFrom;
        // The file keeps no blanks around a value, and the raw field starts with one: an entry
        // this command wrote must still be known the next time.
        const bool known = std::any_of(
            addressList.begin(), addressList.end(),
            [&](const std::string& entry) { return TrimBlanks(entry) == TrimBlanks(from); });
        (known ? addition.duplicates : addition.added).push_back(from);
    }
    return addition;
}

bool AppendAddresses(const std::string& addressFile, const std::vector<std::string>& entries) {
    if (entries.empty()) {
        return true;
    }
    std::optional<ProfileFile> file = LoadProfileFileForUpdate(addressFile);
    if (!file) {
        return false;
    }
    // "Total" is read with room for four digits, as the list dialogs never hold more than 512.
    int total = AtoI(file->GetString("Main", "Total", "0", 5));
    for (const std::string& entry : entries) {
        file->SetString("Email", std::to_string(total), entry);
        ++total;
        file->SetString("Main", "Total", std::to_string(total));
    }
    return WriteFileAtomically(addressFile, file->Text());
}

}  // namespace quorlet
