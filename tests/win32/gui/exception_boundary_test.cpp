// No exception leaves the program's work for a message: not a dialog's look at a key before the
// dialog manager, and not a task handed to the interface thread. The failed piece is dropped and
// everything after it runs.
#include <gtest/gtest.h>

#include <stdexcept>

#include "mail_ids.h"
#include "resource.h"
#include "ui/dialog.h"
#include "ui/ui_task_queue.h"

namespace quorlet {
namespace {

// The filter entry dialog's template, run by a dialog that fails where the test says.
class FailingDialog : public ui::CDialog {
public:
    FailingDialog() : CDialog(IDD_ENTRY) {}

    int keysSeen = 0;
    ui::CUiTaskQueue tasks;

protected:
    BOOL OnInitDialog() override {
        tasks.Attach(m_hWnd);
        return CDialog::OnInitDialog();
    }
    bool PreTranslateMessage(MSG& message) override {
        if (message.message == WM_KEYDOWN && ++keysSeen == 1) {
            throw std::runtime_error("the first key fails");
        }
        return false;
    }
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        if (message == ui::CUiTaskQueue::Message()) {
            tasks.Drain();
            result = 0;
            return true;
        }
        return false;
    }
};

TEST(ExceptionBoundary, AFailedKeyLookOrTaskLeavesTheLoopAndTheOtherTasksRunning) {
    FailingDialog dialog;
    std::vector<int> ran;
    // Everything goes through the dialog's own loop, in the order posted.
    ui::SetDialogScript(IDD_ENTRY, [&](ui::CDialog&) {
        HWND edit = dialog.GetDlgItem(IDC_ENTRY_TEXT);
        SetFocus(edit);
        PostMessageW(edit, WM_KEYDOWN, 'A', 1);  // its look fails
        PostMessageW(edit, WM_KEYDOWN, 'B', 1);
        dialog.tasks.Post([&] { ran.push_back(1); });
        dialog.tasks.Post([] { throw std::runtime_error("the second task fails"); });
        dialog.tasks.Post([&] { ran.push_back(3); });
        PostMessageW(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_NO_THROW(dialog.DoModal(nullptr));
    ui::ClearDialogScripts();
    EXPECT_EQ(dialog.keysSeen, 2) << "the loop went on after the failed look";
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
}

}  // namespace
}  // namespace quorlet
