// The spam filters: the sender-address and subject lists with their files ".\Address.ini" and
// ".\Subject.ini", the switches and the size limit, the rules the list and size dialogs enforce,
// and the matching that marks the records of the mail table after a check.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mail/mail_table.h"
#include "platform/charsets.h"
#include "settings/main_settings.h"

namespace quorlet {

inline constexpr std::size_t kMaxFilterEntries = 512;
// The bytes of one entry that the files are read back with; the entry dialog holds no more.
inline constexpr std::size_t kFilterEntryBytes = 254;

// Where the lists are kept: relative names, so the files live in the program folder, which the
// program makes its current directory.
struct FilterFiles {
    std::string address = ".\\Address.ini";  // section "Email"
    std::string subject = ".\\Subject.ini";  // section "Subject"
};

struct FilterLists {
    std::vector<std::string> addresses;
    std::vector<std::string> subjects;
};

// The switches and the size limit (settings "AddressDisable", "SubjectDisable", "AllComp",
// "Case", "LengthDisable", "MailLength").
struct FilterSwitches {
    bool addressDisable = false;
    bool subjectDisable = false;
    bool wholeMatch = false;
    bool matchCase = false;
    bool lengthDisable = false;
    std::string mailLength;  // kilobytes, as entered

    static FilterSwitches Of(const MainSettings& settings);
};

// Everything the matching needs, copied when a check starts so that a list edited during the
// check is not read by the slot thread that finishes it.
struct FilterSet {
    FilterLists lists;
    FilterSwitches switches;
};

// Reads both lists. A file without "Total" leaves its list as it was; a missing entry key gives
// an entry holding the marker byte 0x10; a Total above 512 gives the first 512 entries.
void LoadFilterLists(const FilterFiles& files, FilterLists& lists);

// Writes "Total" and every entry of both files.
void SaveFilterLists(const FilterFiles& files, const FilterLists& lists);

// After a list dialog shrank a list from oldCount to its new size: removes the keys that no
// longer hold an entry, then writes both files (the dialog's confirmation step).
void SaveEditedAddressList(const FilterFiles& files, const FilterLists& lists,
                           std::size_t oldCount);
void SaveEditedSubjectList(const FilterFiles& files, const FilterLists& lists,
                           std::size_t oldCount);

// Marks (status 1) every record that an enabled filter hits; no test clears a mark. True when
// any record of the table has a non-zero status afterwards.
bool ApplyFilters(std::vector<MailRecord>& records, const FilterSet& filters,
                  const Charsets& charsets);

// The matching rules one by one.
bool AddressHits(const std::string& rawFrom, const std::vector<std::string>& entries);
bool SubjectHits(const std::string& displaySubject, const std::vector<std::string>& entries,
                 bool wholeMatch, bool matchCase);
bool SizeHits(std::int64_t size, const std::string& mailLength);

// The text without the blanks and tabs around it: a decoded subject without the blank that
// follows the header's colon, or a raw sender field as a filter entry stores it.
std::string_view TrimBlanks(std::string_view s);

// The messages of the filter dialogs; nullopt when the input is accepted.
inline constexpr const char* kFilterListFull = "不可再定义 !";              // title "信息"
inline constexpr const char* kEnterData = "请输入数据 !";                   // title "提示"
inline constexpr const char* kLengthRange = "定义长度应在1到9999KB之内 !";  // title "提示"

std::optional<std::string> EntryProblem(const std::string& text);
std::optional<std::string> LengthProblem(const std::string& text);

// The entries of a list dialog while it runs, with the selection rules of its commands.
class FilterListEditor {
public:
    explicit FilterListEditor(std::vector<std::string> entries) : m_entries(std::move(entries)) {}

    const std::vector<std::string>& Entries() const { return m_entries; }
    // False (the dialog shows kFilterListFull) when the list already holds 512 entries.
    bool CanAdd() const { return m_entries.size() < kMaxFilterEntries; }
    void Add(std::string text);
    void Replace(std::size_t index, std::string text);
    // Removes the entry at index and returns the index to select afterwards (the entry now at
    // that place, or the last one); nullopt when the list is empty afterwards or index is invalid.
    std::optional<std::size_t> Remove(std::size_t index);

private:
    std::vector<std::string> m_entries;
};

}  // namespace quorlet
