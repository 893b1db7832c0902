// Files and folders. Paths are GBK text as the program holds them; both "\" and "/" separate
// folders (the POSIX side reads "\" as "/", so ".\Fare.ini" names Fare.ini in the current
// directory on both sides).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorlet {

// The current directory and file existence, behind an interface so that the program-folder rule
// of the settings store can be tested without changing the test's own directory.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual std::string CurrentDirectory() const = 0;
    virtual bool ChangeDirectory(const std::string& path) = 0;
    virtual bool FileExists(const std::string& path) const = 0;
};

// The real file system of this platform.
FileSystem& SystemFileSystem();

// Whole-file access used by the profile files and the spool files; nullopt when the file is
// missing or cannot be read to its end.
std::optional<std::string> ReadWholeFile(const std::string& path);

// The same, telling why nothing was read: a file about to be rewritten from what was read may
// be written afresh only when there was none.
struct FileContent {
    std::optional<std::string> data;
    bool missing = false;  // nothing is at the path
};
FileContent ReadFileContent(const std::string& path);

// Writes data to a temporary file beside path, flushes it and renames it over path, so that
// readers see the old file or the new one, never a mixture.
bool WriteFileAtomically(const std::string& path, std::string_view data);

bool RemoveFile(const std::string& path);

}  // namespace quorlet
