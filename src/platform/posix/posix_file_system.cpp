#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>

#include "platform/file_system.h"

namespace quorlet {
namespace {

std::string NativePath(const std::string& path) {
    std::string out = path;
    for (char& c : out) {
        if (c == '\\') {
            c = '/';
        }
    }
    return out;
}

class PosixFileSystem final : public FileSystem {
public:
    std::string CurrentDirectory() const override {
        char buffer[PATH_MAX];
        return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
    }
    bool ChangeDirectory(const std::string& path) override {
        return chdir(NativePath(path).c_str()) == 0;
    }
    bool FileExists(const std::string& path) const override {
        struct stat st {};
        return stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
};

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

FileSystem& SystemFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

FileContent ReadFileContent(const std::string& path) {
    FileContent result;
    std::FILE* file = std::fopen(NativePath(path).c_str(), "rb");
    if (file == nullptr) {
        result.missing = errno == ENOENT;
        return result;
    }
    std::string content;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, n);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (!failed) {
        result.data = std::move(content);
    }
    return result;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    return ReadFileContent(path).data;
}

bool WriteFileAtomically(const std::string& path, std::string_view data) {
    const std::string target = NativePath(path);
    std::string temp = target + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    // mkstemp makes the file private; a data file keeps the usual permissions.
    struct stat st {};
    const mode_t mode = stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    const bool written = WriteAll(fd, data) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    if (close(fd) != 0 || !written || std::rename(temp.c_str(), target.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return true;
}

bool RemoveFile(const std::string& path) {
    return unlink(NativePath(path).c_str()) == 0;
}

}  // namespace quorlet
