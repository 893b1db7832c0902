// The system's open-file dialog, as the sound choosers use it: titled "打开文件", and the
// current directory, which every data file is opened relative to, is the same afterwards even
// when something in the dialog moved it.
#include <gtest/gtest.h>

#include <filesystem>

#include "gui_support.h"
#include "platform/win32/win32_services.h"

namespace quorlet {
namespace {

std::wstring g_elsewhere;
bool g_sawDialog = false;

// Runs inside the dialog's own message loop: moves the current directory as a dialog that
// followed the user's browsing would, then cancels.
void CALLBACK MoveAwayAndCancel(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = FindWindowW(L"#32770", L"打开文件");
    if (dialog == nullptr) {
        return;  // not up yet: the next tick looks again
    }
    KillTimer(nullptr, timer);
    g_sawDialog = true;
    SetCurrentDirectoryW(g_elsewhere.c_str());
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(FileChooser, LeavesTheCurrentDirectoryAsItWas) {
    testing::ProgramFolder program;
    const std::filesystem::path elsewhere = std::filesystem::temp_directory_path();
    g_elsewhere = elsewhere.wstring();
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_NE(std::wstring(before), g_elsewhere);

    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &MoveAwayAndCancel);
    const auto chosen = SystemPrompter().OpenFile("声音文件(*.WAV)|*.wav|");
    KillTimer(nullptr, timer);

    EXPECT_TRUE(g_sawDialog) << "the dialog titled 打开文件 never came up";
    EXPECT_FALSE(chosen.has_value());
    wchar_t after[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_EQ(std::wstring(after), std::wstring(before));
}

}  // namespace
}  // namespace quorlet
