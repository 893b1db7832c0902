// A file system of a current directory and a set of existing files, for the rules that look
// for the program's file without touching the test's own directory.
#pragma once

#include <set>
#include <string>

#include "platform/file_system.h"

namespace quorlet::testing {

class FakeFileSystem final : public FileSystem {
public:
    std::string current = "C:\\Start";
    std::set<std::string> files;
    std::string CurrentDirectory() const override { return current; }
    bool ChangeDirectory(const std::string& path) override {
        current = path;
        return true;
    }
    bool FileExists(const std::string& path) const override { return files.count(path) > 0; }
};

}  // namespace quorlet::testing
