#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

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

class Win32Shell final : public Shell {
public:
    bool Open(const std::string& document) override {
        const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
            nullptr, L"open", win32::ToWide(document).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        return result > 32;
    }

    bool Run(const std::string& commandLine) override {
        // What WinExec does, through the wide call: start the command line, shown normally.
        std::wstring command = win32::ToWide(commandLine);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            return false;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
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
