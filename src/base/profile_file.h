// Profile (INI) files with the semantics of the Windows profile-string functions that the
// program's data files rely on:
//   - section and key names match without regard to the case of the letters A to Z, and
//     surrounding white space is ignored;
//   - a missing file, section or key gives the caller's default text (trailing blanks removed);
//     a key line without "=" counts as missing;
//   - a value loses surrounding white space and one pair of matching enclosing quotes;
//   - results are cut to the caller's buffer size minus one byte;
//   - writing creates the file, the section and the key; writing no value removes the key.
// Every other byte of a file is kept as it was when a value is written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorlet {

// A profile file held in memory. Use it directly to read many values from one file (the
// connection log); the functions of platform/profile_files.h read or rewrite a file on every call.
class ProfileFile {
public:
    ProfileFile() = default;
    explicit ProfileFile(std::string_view content);

    // The value as GetPrivateProfileString returns it into a buffer of bufferSize bytes.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultText, std::size_t bufferSize) const;

    // The stored value after white-space trimming, before quote stripping and buffer limits;
    // nullopt when the key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // Sets key to value (leading blanks of value are dropped, as the system does). Returns
    // whether the text changed.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);

    std::string Text() const;

    // The names of the sections, trimmed, each once, in the order they first stand.
    std::vector<std::string> SectionNames() const;

private:
    struct Line {
        std::string text;  // without its line end
        std::string end;   // "\r\n", "\n" or "" for a last line without one
    };
    struct Position {
        std::size_t header;     // index of the section's header line
        std::size_t endOfBody;  // one past the last line before the next header
    };

    // Where each section and key first stands, by upper-cased name; built on the first look-up
    // after a change, so that reading thousands of log records stays linear.
    struct SectionIndex {
        Position where;
        std::unordered_map<std::string, std::size_t> keys;
    };

    std::optional<Position> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKeyLine(std::string_view section, std::string_view key) const;
    const std::unordered_map<std::string, SectionIndex>& Index() const;
    std::string LineEnd() const;

    std::vector<Line> m_lines;
    mutable std::unordered_map<std::string, SectionIndex> m_index;
    mutable bool m_indexValid = false;
};

}  // namespace quorlet
