// A message box shown inside a PromptOwner scope belongs to the window named, not to whichever
// window of the thread happens to be active; outside the scope the active window owns it again.
#include <gtest/gtest.h>

#include <string>

#include "gui_support.h"
#include "platform/win32/win32_services.h"

namespace quorlet {
namespace {

HWND g_boxOwner = nullptr;

// The box this thread shows (another program on the desktop may show one of the same title).
BOOL CALLBACK FindNotice(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    wchar_t title[16] = {};
    GetClassNameW(window, className, 16);
    GetWindowTextW(window, title, 16);
    if (std::wstring(className) == L"#32770" && std::wstring(title) == L"提示") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the box's own message loop: notes its owner and closes it.
void CALLBACK NoteOwnerAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindNotice, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) {
        return;  // not up yet: the next tick looks again
    }
    KillTimer(nullptr, timer);
    g_boxOwner = GetWindow(box, GW_OWNER);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

HWND OwnerOfNotice() {
    g_boxOwner = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &NoteOwnerAndClose);
    SystemPrompter().Notice("已发送");
    KillTimer(nullptr, timer);
    return g_boxOwner;
}

TEST(PromptOwner, TheNamedWindowOwnsTheBoxWhileTheScopeLasts) {
    testing::RunInDialog([](ui::CDialog& reporter) {
        // A quit an earlier test left in the queue would end the boxes at once; it is kept aside
        // and put back afterwards.
        MSG quit;
        const bool quitPending = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        // Another window of the thread is the active one.
        const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 100,
                                           50, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(other, nullptr);
        SetActiveWindow(other);
        ASSERT_EQ(GetActiveWindow(), other);
        {
            const PromptOwner owner(reporter.m_hWnd);
            EXPECT_EQ(OwnerOfNotice(), reporter.m_hWnd);
        }
        SetActiveWindow(other);
        EXPECT_EQ(OwnerOfNotice(), other);
        DestroyWindow(other);
        if (quitPending) {
            PostQuitMessage(static_cast<int>(quit.wParam));
        }
    });
}

}  // namespace
}  // namespace quorlet
