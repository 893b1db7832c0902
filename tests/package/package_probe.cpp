// The Windows half of the package test (tests/package/package_test.sh), run under Wine in the
// prefix the installer installed into:
//
//   package_probe start SHORTCUT-OR-EXE EXPECTED-EXE
//     starts the program through its Start-menu shortcut (or directly), waits for its main window
//     "鸥信通", checks that it answers, that it is the installed program, and that a second start
//     ends at once and leaves the first running; then ends the first by its process.
//   package_probe version EXE
//     prints the product name and version of EXE's version resource.
//
// Every wait is bounded: a startup password dialog, a message box or a program that never
// shows its window fails the probe instead of hanging it. Prints one line per check
// ("ok: ..." or "FAIL: ...") and exits 1 when any failed.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int g_failures = 0;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

void Report(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed) {
        ++g_failures;
    }
}

// Runs this thread's messages while waiting, so that nothing the probe owns blocks a broadcast.
bool WaitFor(DWORD milliseconds, const auto& condition) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() >= end) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(50);
    }
    return true;
}

std::wstring ImagePath(HANDLE process) {
    wchar_t path[MAX_PATH * 2];
    DWORD size = MAX_PATH * 2;
    return QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size)
                                                               : std::wstring();
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The main window of the program, found as a second copy finds it: a dialog titled "鸥信通".
HWND MainWindow() {
    return FindWindowW(L"#32770", L"鸥信通");
}

int Start(const std::wstring& launch, const std::wstring& expectedExe) {
    // Through the shell, as a double-click on the shortcut does (its target and its folder).
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    execute.lpVerb = L"open";
    execute.lpFile = launch.c_str();
    execute.nShow = SW_SHOWNORMAL;
    Report(ShellExecuteExW(&execute) != FALSE, "the shell starts " + Utf8(launch));

    HWND window = nullptr;
    bool password = false;
    const bool found = WaitFor(30000, [&] {
        password = FindWindowW(L"#32770", L"启动密码") != nullptr;
        window = MainWindow();
        return password || (window != nullptr && IsWindowVisible(window));
    });
    Report(!password, "no startup password is asked for");
    Report(found && window != nullptr, "the main window \"鸥信通\" shows within 30 s");
    if (window == nullptr) {
        if (execute.hProcess != nullptr) {
            TerminateProcess(execute.hProcess, 1);
            CloseHandle(execute.hProcess);
        }
        return 1;
    }

    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE program = OpenProcess(
        PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    Report(program != nullptr, "its process can be opened");
    if (program == nullptr) {
        return 1;
    }
    if (execute.hProcess != nullptr) {
        Report(GetProcessId(execute.hProcess) == processId, "the window is the started process's");
        CloseHandle(execute.hProcess);
    }
    const std::wstring image = ImagePath(program);
    Report(SamePath(image, expectedExe), "it runs " + Utf8(image));

    DWORD_PTR answer = 0;
    Report(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0,
           "the window answers");

    // A second start brings the first window forward and ends by itself.
    std::wstring command = L"\"" + image + L"\"";
    const std::wstring folder = image.substr(0, image.find_last_of(L'\\'));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                       &startup, &second)) {
        CloseHandle(second.hThread);
        const bool ended = WaitFor(
            30000, [&] { return WaitForSingleObject(second.hProcess, 0) == WAIT_OBJECT_0; });
        DWORD code = 1;
        GetExitCodeProcess(second.hProcess, &code);
        Report(ended && code == 0, "a second start ends at once with status 0");
        if (!ended) {
            TerminateProcess(second.hProcess, 1);
        }
        CloseHandle(second.hProcess);
    } else {
        Report(false, "a second copy can be started");
    }
    Report(WaitForSingleObject(program, 0) == WAIT_TIMEOUT && MainWindow() == window,
           "the first copy still runs with its window");

    // Ended by its process: its exit path would ask before it quits.
    TerminateProcess(program, 0);
    Report(WaitForSingleObject(program, 10000) == WAIT_OBJECT_0, "the program is ended");
    CloseHandle(program);
    return g_failures == 0 ? 0 : 1;
}

std::wstring VersionString(std::vector<unsigned char>& block, const wchar_t* name) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || value == nullptr) {
        return L"";
    }
    return static_cast<const wchar_t*>(value);
}

int Version(const std::wstring& exe) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    std::vector<unsigned char> block(size);
    if (size == 0 || !GetFileVersionInfoW(exe.c_str(), 0, size, block.data())) {
        std::printf("no version resource\n");
        return 1;
    }
    std::printf("%s %s\n", Utf8(VersionString(block, L"ProductName")).c_str(),
                Utf8(VersionString(block, L"ProductVersion")).c_str());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"start" && argc == 4) {
        return Start(argv[2], argv[3]);
    }
    if (command == L"version" && argc == 3) {
        return Version(argv[2]);
    }
    std::fprintf(stderr,
                 "usage: package_probe start SHORTCUT-OR-EXE EXPECTED-EXE\n"
                 "       package_probe version EXE\n");
    return 2;
}
