#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_services.h"

namespace quorlet {
namespace {

class Win32Sound final : public Sound {
public:
    void PlayFileAsync(const std::string& path) override {
        PlaySoundW(win32::ToWide(path).c_str(), nullptr, SND_FILENAME | SND_ASYNC);
    }
};

// The code WinExec gives for the error of a failed process start.
int WinExecCode(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_ACCESS_DENIED:
        case ERROR_NOT_ENOUGH_MEMORY:
            return static_cast<int>(error);
        case ERROR_BAD_EXE_FORMAT:
            return ERROR_BAD_FORMAT;
        default:
            return 0;  // "out of memory or resources", WinExec's answer for the rest
    }
}

class Win32Shell final : public Shell {
public:
    int Open(const std::string& document) override {
        const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
            nullptr, L"open", win32::ToWide(document).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        return static_cast<int>(result);
    }

    int Run(const std::string& commandLine) override {
        // What WinExec does, through the wide call: start the command line, shown normally.
        std::wstring command = win32::ToWide(commandLine);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            return WinExecCode(GetLastError());
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return kShellFailedAtMost + 1;
    }

    std::optional<std::string> AssociatedCommand(const std::string& scheme) override {
        wchar_t command[1024] = {};
        DWORD length = 1024;
        if (FAILED(AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_COMMAND, win32::ToWide(scheme).c_str(),
                                     L"open", command, &length))) {
            return std::nullopt;
        }
        return win32::FromWide(command);
    }
};

}  // namespace

Sound& SystemSound() {
    static Win32Sound sound;
    return sound;
}

Shell& SystemShell() {
    static Win32Shell shell;
    return shell;
}

}  // namespace quorlet
