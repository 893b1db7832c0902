// A skinned button whose picture cannot be loaded keeps the plain button face.
#include <gtest/gtest.h>

#include "app/gui/password_dlg.h"
#include "gui_support.h"
#include "resource.h"
#include "ui/dialog.h"
#include "ui/hover_button.h"

namespace quorlet {
namespace {

// The colour in the middle of the button's face, drawn through its owner-draw path.
COLORREF FaceCentre(HWND button) {
    RECT rect;
    GetClientRect(button, &rect);
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.right, rect.bottom);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = rect;
    SendMessageW(button, ui::kReflectedDrawItem, 0, reinterpret_cast<LPARAM>(&item));
    const COLORREF centre = GetPixel(dc, rect.right / 2, rect.bottom / 2);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return centre;
}

TEST(SkinnedButton, APictureThatCannotBeLoadedLeavesThePlainFace) {
    testing::ScriptedPrompter quiet;
    CPasswordDlg dialog(quiet);
    ui::SetDialogScript(IDD_PASSWORD, [&](ui::CDialog& d) {
        for (const int picture : {9999, IDB_SKIN}) {
            SCOPED_TRACE(picture);
            const HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 4, 4, 40,
                                                20, d, nullptr, nullptr, nullptr);
            ui::CHoverButton skinned;
            ASSERT_TRUE(skinned.HookWindow(button));
            skinned.SetBackgroundBitmap(picture);
            skinned.SetBackgroundSlice(100, 100, 40, 20);
            skinned.SetBackgroundSize(385, 227);
            const bool loaded = skinned.LoadBackground(GetDC(button), L"");
            EXPECT_EQ(loaded, picture == IDB_SKIN);
            if (!loaded) {
                EXPECT_EQ(FaceCentre(button), GetSysColor(COLOR_BTNFACE));
            }
            DestroyWindow(button);
        }
        d.EndDialog(IDCANCEL);
    });
    dialog.DoModal(nullptr);
    ui::ClearDialogScripts();
}

}  // namespace
}  // namespace quorlet
