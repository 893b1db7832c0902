// A second Quorlet.exe started while the first runs, in the same Wine prefix: it ends at once and
// brings the first copy's window to the front, also from the notification area.
#include <gtest/gtest.h>

#include "app/gui/monitor_app.h"
#include "app_ids.h"
#include "gui_support.h"
#include "platform/win32/wide_text.h"
#include "resource.h"
#include "support/program_file.h"

namespace quorlet {
namespace {

using testing::ProgramPath;

using namespace std::chrono_literals;

// Starts the program and waits for it to end, running this thread's windows meanwhile (the
// second copy restores them through this thread). The exit code, or nullopt after the limit.
std::optional<DWORD> RunSecondCopy() {
    std::wstring command = L"\"" + ProgramPath() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << win32::FromWide(command);
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    const bool ended = testing::PumpUntil(
        [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 30s);
    std::optional<DWORD> code;
    if (ended) {
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        code = exitCode;
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    return code;
}

TEST(SecondInstance, EndsAtOnceAndBringsTheFirstWindowBackFromTheTray) {
    testing::MainWindowHarness harness;
    SingleInstanceGuard guard;
    ASSERT_TRUE(guard.Check());
    harness.Run(
        [&](CMainDlg& window) {
            testing::Click(window.m_hWnd, IDC_HIDE);
            testing::PumpFor(100ms);
            ASSERT_FALSE(window.IsWindowVisible());

            EXPECT_EQ(RunSecondCopy(), 0u);
            testing::PumpFor(100ms);
            EXPECT_TRUE(window.IsWindowVisible());
            EXPECT_EQ(GetForegroundWindow(), window.m_hWnd);
            // The second copy showed nothing of its own.
            EXPECT_EQ(FindWindowW(L"#32770", L"鸥信通"), window.m_hWnd);
            EXPECT_TRUE(harness.prompter.shown.empty());

            // Shown behind another window, it is brought to the front all the same.
            HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 0,
                                         0, 200, 100, nullptr, nullptr, nullptr, nullptr);
            SetForegroundWindow(other);
            testing::PumpFor(100ms);
            ASSERT_EQ(GetForegroundWindow(), other);
            EXPECT_EQ(RunSecondCopy(), 0u);
            testing::PumpFor(100ms);
            EXPECT_EQ(GetForegroundWindow(), window.m_hWnd);
            DestroyWindow(other);
            window.EndDialog(IDCANCEL);
        },
        60s);
}

TEST(SecondInstance, FindsTheMainWindowByItsMarkNotByItsTitle) {
    testing::MainWindowHarness harness;
    SingleInstanceGuard guard;
    ASSERT_TRUE(guard.Check());
    // A dialog-class window with the program's title, as a plain message box has, and in front.
    HWND decoy = CreateWindowExW(0, L"#32770", L"鸥信通", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    harness.Run(
        [&](CMainDlg& window) {
            testing::Click(window.m_hWnd, IDC_HIDE);
            // The title a deletion run shows.
            window.SetWindowText(std::string(kMainWindowTitle) + "[正在删除已过滤的邮件...]");
            SetWindowPos(decoy, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            testing::PumpFor(100ms);
            EXPECT_EQ(FindRunningMainWindow(), window.m_hWnd);
            EXPECT_EQ(RunSecondCopy(), 0u);
            testing::PumpFor(100ms);
            EXPECT_TRUE(window.IsWindowVisible());
            EXPECT_EQ(GetForegroundWindow(), window.m_hWnd);
            window.EndDialog(IDCANCEL);
        },
        60s);
    DestroyWindow(decoy);
    EXPECT_EQ(FindRunningMainWindow(), nullptr);  // the mark went with the window
}

TEST(SecondInstance, WhileThePasswordIsAskedItIsThePasswordThatComesForward) {
    testing::MainWindowHarness harness;
    MainSettings settings;
    settings.m_bStartupPassword = true;
    settings.m_strStartupPassword = "secret";
    harness.Store(settings, {});
    SingleInstanceGuard guard;
    ASSERT_TRUE(guard.Check());
    ui::SetDialogScript(IDD_PASSWORD, [&](ui::CDialog& dialog) {
        HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 0, 0,
                                     200, 100, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        testing::PumpFor(100ms);
        EXPECT_EQ(RunSecondCopy(), 0u);
        testing::PumpFor(100ms);
        EXPECT_EQ(GetForegroundWindow(), dialog.m_hWnd);
        // The main window stays hidden until the password is right.
        EXPECT_FALSE(IsWindowVisible(GetParent(dialog.m_hWnd)));
        DestroyWindow(other);
        dialog.EndDialog(IDCANCEL);
    });
    harness.Run([&](CMainDlg& window) { window.EndDialog(IDCANCEL); }, 60s);
}

TEST(SecondInstance, TheGuardLetsOnlyOneCopyHoldTheName) {
    SingleInstanceGuard first(L"Quorlet Class test");
    ASSERT_TRUE(first.Check());
    SingleInstanceGuard second(L"Quorlet Class test");
    EXPECT_FALSE(second.Check());  // no marked window runs: nothing to activate
    EXPECT_FALSE(ActivateRunningInstance());
}

TEST(SecondInstance, AMutexThatCannotBeCreatedIsNoLicenceToRun) {
    // Another kind of object holds the name: the mutex cannot be made, and that proves nothing
    // about other copies, so this one does not claim to be the only one.
    HANDLE squatter = CreateEventW(nullptr, TRUE, FALSE, L"Quorlet Class squatted");
    ASSERT_NE(squatter, nullptr);
    SingleInstanceGuard guard(L"Quorlet Class squatted");
    EXPECT_FALSE(guard.Check());
    CloseHandle(squatter);
    SingleInstanceGuard after(L"Quorlet Class squatted");
    EXPECT_TRUE(after.Check());
}

}  // namespace
}  // namespace quorlet
