#include <windows.h>

#include <string>

#include "platform/file_system.h"
#include "platform/win32/wide_text.h"

namespace quorlet {
namespace {

class Win32FileSystem final : public FileSystem {
public:
    std::string CurrentDirectory() const override {
        const DWORD length = GetCurrentDirectoryW(0, nullptr);
        std::wstring buffer(length, L'\0');
        const DWORD written = GetCurrentDirectoryW(length, buffer.data());
        buffer.resize(written);
        return win32::FromWide(buffer);
    }
    bool ChangeDirectory(const std::string& path) override {
        return SetCurrentDirectoryW(win32::ToWide(path).c_str()) != 0;
    }
    bool FileExists(const std::string& path) const override {
        const DWORD attributes = GetFileAttributesW(win32::ToWide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
};

class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle() {
        if (valid()) {
            CloseHandle(m_h);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_h; }
    bool Close() {
        const bool ok = CloseHandle(m_h) != 0;
        m_h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_h;
};

}  // namespace

FileSystem& SystemFileSystem() {
    static Win32FileSystem fileSystem;
    return fileSystem;
}

FileContent ReadFileContent(const std::string& path) {
    FileContent result;
    Handle file(CreateFileW(win32::ToWide(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        result.missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return result;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) {
            return result;  // a read that fails halfway gives nothing, not the first part
        }
        if (n == 0) {
            break;
        }
        content.append(buffer, n);
    }
    result.data = std::move(content);
    return result;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    return ReadFileContent(path).data;
}

bool WriteFileAtomically(const std::string& path, std::string_view data) {
    const std::wstring target = win32::ToWide(path);
    const std::wstring temp = target + L".tmp" + std::to_wstring(GetCurrentProcessId());
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return false;
    }
    bool ok = true;
    while (ok && !data.empty()) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 20));
        ok = WriteFile(file.get(), data.data(), chunk, &n, nullptr) != 0;
        data.remove_prefix(n);
    }
    ok = ok && FlushFileBuffers(file.get()) != 0;
    ok = file.Close() && ok;
    if (ok) {
        ok = MoveFileExW(temp.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
    }
    return ok;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(win32::ToWide(path).c_str()) != 0;
}

}  // namespace quorlet
