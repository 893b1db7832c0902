#include "base/profile_file.h"

#include <algorithm>

#include "base/gbk_text.h"

namespace quorlet {
namespace {

// White space as the profile functions see it; 0x1A is the old end-of-file mark.
bool IsProfileSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsProfileSpace(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsProfileSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view Trim(std::string_view s) {
    return TrimRight(TrimLeft(s));
}

struct ParsedLine {
    enum class Kind { Blank, Section, Key } kind = Kind::Blank;
    std::string_view name;
    std::optional<std::string_view> value;  // a key line without "=" has none
};

ParsedLine ParseLine(std::string_view text) {
    ParsedLine parsed;
    std::string_view s = TrimLeft(text);
    if (s.empty()) {
        return parsed;
    }
    if (s.front() == '[') {
        const std::size_t close = s.find(']');
        if (close != std::string_view::npos) {
            parsed.kind = ParsedLine::Kind::Section;
            parsed.name = Trim(s.substr(1, close - 1));
            return parsed;
        }
    }
    s = TrimRight(s);
    parsed.kind = ParsedLine::Kind::Key;
    const std::size_t eq = s.find('=');
    if (eq == std::string_view::npos) {
        parsed.name = s;
    } else {
        parsed.name = TrimRight(s.substr(0, eq));
        parsed.value = TrimLeft(s.substr(eq + 1));
    }
    return parsed;
}

// One pair of matching quotes around a value is not part of it.
std::string_view StripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

// A value must stay on its line: a line break inside it would end the entry early and turn the
// rest into a stray key.
std::string SingleLine(std::string_view value) {
    std::string out(TrimLeft(value));
    for (char& c : out) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

}  // namespace

// New lines follow the file's own line ends; a new file gets the system's CR LF.
std::string ProfileFile::LineEnd() const {
    for (const Line& line : m_lines) {
        if (!line.end.empty()) {
            return line.end;
        }
    }
    return "\r\n";
}

ProfileFile::ProfileFile(std::string_view content) {
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t nl = content.find('\n', start);
        if (nl == std::string_view::npos) {
            m_lines.push_back({std::string(content.substr(start)), ""});
            break;
        }
        std::string_view text = content.substr(start, nl - start);
        const bool crlf = !text.empty() && text.back() == '\r';
        if (crlf) {
            text.remove_suffix(1);
        }
        m_lines.push_back({std::string(text), crlf ? "\r\n" : "\n"});
        start = nl + 1;
    }
}

const std::unordered_map<std::string, ProfileFile::SectionIndex>& ProfileFile::Index() const {
    if (m_indexValid) {
        return m_index;
    }
    m_index.clear();
    SectionIndex* current = nullptr;  // null while the section is a repeated one
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const ParsedLine line = ParseLine(m_lines[i].text);
        if (line.kind == ParsedLine::Kind::Section) {
            if (current != nullptr) {
                current->where.endOfBody = i;
            }
            const auto [it, inserted] =
                m_index.try_emplace(gbk::ToUpperAscii(line.name), SectionIndex{{i, i + 1}, {}});
            current = inserted ? &it->second : nullptr;
        } else if (line.kind == ParsedLine::Kind::Key && current != nullptr) {
            current->keys.try_emplace(gbk::ToUpperAscii(line.name), i);
        }
    }
    if (current != nullptr) {
        current->where.endOfBody = m_lines.size();
    }
    m_indexValid = true;
    return m_index;
}

std::optional<ProfileFile::Position> ProfileFile::FindSection(std::string_view section) const {
    const auto& index = Index();
    const auto it = index.find(gbk::ToUpperAscii(Trim(section)));
    if (it == index.end()) {
        return std::nullopt;
    }
    return it->second.where;
}

std::optional<std::size_t> ProfileFile::FindKeyLine(std::string_view section,
                                                    std::string_view key) const {
    const auto& index = Index();
    const auto it = index.find(gbk::ToUpperAscii(Trim(section)));
    if (it == index.end()) {
        return std::nullopt;
    }
    const auto key_it = it->second.keys.find(gbk::ToUpperAscii(Trim(key)));
    if (key_it == it->second.keys.end()) {
        return std::nullopt;
    }
    return key_it->second;
}

std::optional<std::string> ProfileFile::Find(std::string_view section, std::string_view key) const {
    const auto index = FindKeyLine(section, key);
    if (!index) {
        return std::nullopt;
    }
    const ParsedLine line = ParseLine(m_lines[*index].text);
    if (!line.value) {
        return std::nullopt;
    }
    return std::string(*line.value);
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultText, std::size_t bufferSize) const {
    if (bufferSize == 0) {
        return {};
    }
    const auto found = Find(section, key);
    std::string_view value;
    if (found) {
        value = *found;
    } else {
        value = defaultText;
        while (!value.empty() && value.back() == ' ') {
            value.remove_suffix(1);
        }
    }
    return std::string(gbk::TruncateChars(StripQuotes(value), bufferSize - 1));
}

bool ProfileFile::SetString(std::string_view section, std::string_view key,
                            std::string_view value) {
    const std::string clean = SingleLine(value);
    const std::string lineEnd = LineEnd();
    const auto where = FindSection(section);
    if (!where) {
        if (!m_lines.empty() && m_lines.back().end.empty()) {
            m_lines.back().end = lineEnd;
        }
        m_lines.push_back({"[" + std::string(Trim(section)) + "]", lineEnd});
        m_lines.push_back({std::string(Trim(key)) + "=" + clean, lineEnd});
        m_indexValid = false;
        return true;
    }
    if (const auto index = FindKeyLine(section, key)) {
        const ParsedLine line = ParseLine(m_lines[*index].text);
        if (line.value && *line.value == clean) {
            return false;
        }
        m_lines[*index].text = std::string(line.name) + "=" + clean;
        return true;
    }
    // A new key goes after the last entry of its section, before any blank lines.
    std::size_t at = where->header + 1;
    for (std::size_t i = where->header + 1; i < where->endOfBody; ++i) {
        if (ParseLine(m_lines[i].text).kind != ParsedLine::Kind::Blank) {
            at = i + 1;
        }
    }
    if (m_lines[at - 1].end.empty()) {
        m_lines[at - 1].end = lineEnd;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at),
                   Line{std::string(Trim(key)) + "=" + clean, lineEnd});
    m_indexValid = false;
    return true;
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key) {
    const auto index = FindKeyLine(section, key);
    if (!index) {
        return false;
    }
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*index));
    m_indexValid = false;
    return true;
}

bool ProfileFile::DeleteSection(std::string_view section) {
    const auto where = FindSection(section);
    if (!where) {
        return false;
    }
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(where->header),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(where->endOfBody));
    m_indexValid = false;
    return true;
}

std::vector<std::string> ProfileFile::SectionNames() const {
    const auto& index = Index();
    std::vector<std::pair<std::size_t, std::string>> found;
    found.reserve(index.size());
    for (const auto& [upper, section] : index) {
        const ParsedLine header = ParseLine(m_lines[section.where.header].text);
        found.emplace_back(section.where.header, std::string(header.name));
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    names.reserve(found.size());
    for (auto& [line, name] : found) {
        names.push_back(std::move(name));
    }
    return names;
}

std::string ProfileFile::Text() const {
    std::string out;
    for (const Line& line : m_lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

}  // namespace quorlet
