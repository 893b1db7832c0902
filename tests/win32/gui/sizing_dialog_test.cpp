// A resizable dialog on a real dialog resource: the registered controls follow the growth by
// their percentages, the window stops at its first size, a minimised window moves nothing,
// and the grip sits in the corner.
#include <gtest/gtest.h>

#include "app_ids.h"
#include "gui_support.h"
#include "resource.h"
#include "ui/sizing_dialog.h"

namespace quorlet {
namespace {

class SizableDialog : public ui::cdxCSizingDialog {
public:
    SizableDialog() : cdxCSizingDialog(IDD_PASSWORD, IDC_PASSWORD_OK, IDC_PASSWORD_CANCEL) {}

protected:
    BOOL OnInitDialog() override {
        // The resource has a fixed frame; the sizing frame comes first, as in a resizable one.
        SetWindowLongPtrW(m_hWnd, GWL_STYLE, GetWindowLongPtrW(m_hWnd, GWL_STYLE) | WS_THICKFRAME);
        SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        const BOOL result = InitSizing(0, 3, true);
        AddControl(IDC_PASSWORD_OK, {100, 100, 50, 50});
        AddControl(IDC_PASSWORD_ENTERED, {0, 100, 0, 100});
        EXPECT_FALSE(SetMinMaxSize({400, 300}, {399, 1000}, true));  // refused, nothing changed
        EXPECT_TRUE(SetMinMaxSize(InitialWindowSize(), FullScreenSize(), true));
        return result;
    }
};

RECT InParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE SizeOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void Resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

TEST(SizingDialog, ControlsFollowTheGrowthAndTheWindowStopsAtItsFirstSize) {
    SizableDialog dialog;
    ui::SetDialogScript(IDD_PASSWORD, [&](ui::CDialog& d) {
        const HWND ok = d.GetDlgItem(IDC_PASSWORD_OK);
        const HWND edit = d.GetDlgItem(IDC_PASSWORD_ENTERED);
        const SIZE first = SizeOf(d);
        const RECT okBefore = InParent(ok);
        const RECT editBefore = InParent(edit);

        Resize(d, first.cx + 40, first.cy + 31);
        const RECT okAfter = InParent(ok);
        EXPECT_EQ(okAfter.left - okBefore.left, 40);
        EXPECT_EQ(okAfter.top - okBefore.top, 15);  // half of 31, truncated
        EXPECT_EQ(okAfter.right - okAfter.left, okBefore.right - okBefore.left);
        const RECT editAfter = InParent(edit);
        EXPECT_EQ(editAfter.right - editBefore.right, 40);
        EXPECT_EQ(editAfter.bottom - editBefore.bottom, 31);
        EXPECT_EQ(editAfter.left, editBefore.left);

        // The grip sits in the bottom-right corner and moves with it.
        const HWND grip = d.GetDlgItem(ui::cdxCSizingDialog::kGripId);
        ASSERT_NE(grip, nullptr);
        RECT client;
        GetClientRect(d, &client);
        EXPECT_EQ(InParent(grip).right, client.right);
        EXPECT_EQ(InParent(grip).bottom, client.bottom);
        testing::SaveScreenshot(d, "sizing-dialog-grown");

        // Not smaller than the first size; the controls are laid out for that size.
        Resize(d, first.cx - 50, first.cy - 20);
        EXPECT_EQ(SizeOf(d).cx, first.cx);
        EXPECT_EQ(SizeOf(d).cy, first.cy);
        EXPECT_EQ(InParent(ok).left, okBefore.left);

        // Minimised, nothing moves; restored, the layout holds again.
        Resize(d, first.cx + 40, first.cy + 31);
        ShowWindow(d, SW_MINIMIZE);
        EXPECT_EQ(InParent(ok).left, okBefore.left + 40);
        ShowWindow(d, SW_RESTORE);
        EXPECT_EQ(InParent(ok).left, okBefore.left + 40);

        // A control destroyed meanwhile is passed over.
        DestroyWindow(edit);
        Resize(d, first.cx + 60, first.cy + 31);
        EXPECT_EQ(InParent(ok).left, okBefore.left + 60);
        d.EndDialog(IDCANCEL);
    });
    dialog.DoModal(nullptr);
    ui::ClearDialogScripts();
}

}  // namespace
}  // namespace quorlet
