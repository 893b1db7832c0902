// Profile (INI) files on disk: each call reads the whole file into a ProfileFile and, when it
// changes something, replaces the file atomically (temporary file, then rename), so a crash
// never leaves half a file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/profile_file.h"

namespace quorlet {

// GetPrivateProfileString: the value of key in section of the file at path, or defaultText.
std::string ReadProfileValue(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view defaultText,
                             std::size_t bufferSize);

// WritePrivateProfileString with a value (nullopt removes the key). False when the file could
// not be read or written.
bool WriteProfileValue(const std::string& path, std::string_view section, std::string_view key,
                       std::optional<std::string_view> value);

// WritePrivateProfileString with no key: removes the whole section.
bool DeleteProfileSection(const std::string& path, std::string_view section);

// Reads a whole profile file; an unreadable or missing file gives an empty one.
ProfileFile LoadProfileFile(const std::string& path);

// Reads a profile file that is about to be changed and written back: a missing file gives an
// empty one, and one that exists but cannot be read gives nullopt, for writing back what was
// read would replace everything it holds.
std::optional<ProfileFile> LoadProfileFileForUpdate(const std::string& path);

}  // namespace quorlet
