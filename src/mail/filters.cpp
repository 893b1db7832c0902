#include "mail/filters.h"

#include "base/c_numbers.h"
#include "base/gbk_text.h"
#include "base/profile_file.h"
#include "mail/header_decoder.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"

namespace quorlet {
namespace {

// The profile reader's "missing" default: one byte that no typed entry holds.
constexpr const char* kMissing = "\x10";
constexpr std::size_t kTotalBuffer = 10;                     // "Total": up to 9 characters
constexpr std::size_t kEntryBuffer = kFilterEntryBytes + 1;  // with the terminating zero

void LoadList(const std::string& path, const char* section, std::vector<std::string>& list) {
    const ProfileFile file = LoadProfileFile(path);
    const std::string total = file.GetString("Main", "Total", kMissing, kTotalBuffer);
    if (total == kMissing) {
        return;
    }
    const int count = AtoI(total);
    const std::size_t n =
        count <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(count), kMaxFilterEntries);
    list.clear();
    for (std::size_t i = 0; i < n; ++i) {
        list.push_back(file.GetString(section, std::to_string(i), kMissing, kEntryBuffer));
    }
}

void SaveList(const std::string& path, const char* section, const std::vector<std::string>& list,
              std::size_t removeFrom, std::size_t removeTo) {
    ProfileFile file = LoadProfileFile(path);
    bool changed = false;
    for (std::size_t i = removeFrom; i < removeTo; ++i) {
        changed = file.DeleteKey(section, std::to_string(i)) || changed;
    }
    changed = file.SetString("Main", "Total", std::to_string(list.size())) || changed;
    for (std::size_t i = 0; i < list.size(); ++i) {
        changed = file.SetString(section, std::to_string(i), list[i]) || changed;
    }
    if (changed) {
        WriteFileAtomically(path, file.Text());
    }
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

FilterSwitches FilterSwitches::Of(const MainSettings& settings) {
    FilterSwitches s;
    s.addressDisable = settings.m_bAddressDisable;
    s.subjectDisable = settings.m_bSubjectDisable;
    s.wholeMatch = settings.m_bAllComp;
    s.matchCase = settings.m_bCase;
    s.lengthDisable = settings.m_bLengthDisable;
    s.mailLength = settings.m_strMailLength;
    return s;
}

void LoadFilterLists(const FilterFiles& files, FilterLists& lists) {
    LoadList(files.address, "Email", lists.addresses);
    LoadList(files.subject, "Subject", lists.subjects);
}

void SaveFilterLists(const FilterFiles& files, const FilterLists& lists) {
    SaveList(files.address, "Email", lists.addresses, 0, 0);
    SaveList(files.subject, "Subject", lists.subjects, 0, 0);
}

void SaveEditedAddressList(const FilterFiles& files, const FilterLists& lists,
                           std::size_t oldCount) {
    SaveList(files.address, "Email", lists.addresses, lists.addresses.size(), oldCount);
    SaveList(files.subject, "Subject", lists.subjects, 0, 0);
}

void SaveEditedSubjectList(const FilterFiles& files, const FilterLists& lists,
                           std::size_t oldCount) {
    SaveList(files.address, "Email", lists.addresses, 0, 0);
    SaveList(files.subject, "Subject", lists.subjects, lists.subjects.size(), oldCount);
}

bool AddressHits(const std::string& rawFrom, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        if (rawFrom.find(entry) != std::string::npos) {
            return true;
        }
    }
    return false;
}

bool SubjectHits(const std::string& displaySubject, const std::vector<std::string>& entries,
                 bool wholeMatch, bool matchCase) {
    const std::string_view shown = TrimBlanks(displaySubject);
    if (shown.empty()) {
        return false;  // a blank subject is no subject: every entry would "contain" it
    }
    const std::string upperShown = matchCase ? std::string() : gbk::ToUpperAscii(shown);
    for (const std::string& entry : entries) {
        if (wholeMatch) {
            if (matchCase ? shown == entry : gbk::EqualsIgnoreAsciiCase(shown, entry)) {
                return true;
            }
            continue;
        }
        const std::string_view text = matchCase ? shown : std::string_view(upperShown);
        const std::string upperEntry = matchCase ? std::string() : gbk::ToUpperAscii(entry);
        const std::string_view e = matchCase ? std::string_view(entry) : upperEntry;
        if (text.find(e) != std::string_view::npos || e.find(text) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

bool SizeHits(std::int64_t size, const std::string& mailLength) {
    const int limit = AtoI(mailLength);
    return limit >= 1 && limit <= 9999 && size > static_cast<std::int64_t>(limit) * 1024;
}

bool ApplyFilters(std::vector<MailRecord>& records, const FilterSet& filters,
                  const Charsets& charsets) {
    const FilterSwitches& s = filters.switches;
    bool any = false;
    for (MailRecord& r : records) {
        if (!s.addressDisable && AddressHits(r.m_strFrom, filters.lists.addresses)) {
            r.m_nStatus = kMailMarked;
        }
        if (!s.subjectDisable && !r.m_strSubject.empty() &&
            SubjectHits(DecodeHeaderText(r.m_strSubject, r.m_cEncoding, charsets),
                        filters.lists.subjects, s.wholeMatch, s.matchCase)) {
            r.m_nStatus = kMailMarked;
        }
        if (!s.lengthDisable && SizeHits(r.m_nSize, s.mailLength)) {
            r.m_nStatus = kMailMarked;
        }
        any = any || r.m_nStatus != kMailOrdinary;
    }
    return any;
}

std::optional<std::string> EntryProblem(const std::string& text) {
    if (text.empty()) {
        return std::string(kEnterData);
    }
    return std::nullopt;
}

std::optional<std::string> LengthProblem(const std::string& text) {
    const int n = AtoI(text);
    if (n < 1 || n > 9999) {
        return std::string(kLengthRange);
    }
    return std::nullopt;
}

void FilterListEditor::Add(std::string text) {
    if (CanAdd()) {
        m_entries.push_back(std::move(text));
    }
}

void FilterListEditor::Replace(std::size_t index, std::string text) {
    if (index < m_entries.size()) {
        m_entries[index] = std::move(text);
    }
}

std::optional<std::size_t> FilterListEditor::Remove(std::size_t index) {
    if (index >= m_entries.size()) {
        return std::nullopt;
    }
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    if (m_entries.empty()) {
        return std::nullopt;
    }
    return std::min(index, m_entries.size() - 1);
}

}  // namespace quorlet
