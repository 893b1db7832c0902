// The account list owns its image lists alone: the list view's window going leaves them, and
// the list object destroys each of them once.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "app/gui/account_list.h"
#include "gui_support.h"
#include "ui/dialog.h"

namespace quorlet {
namespace {

HIMAGELIST TwoImages() {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, 2, 0);
    const HDC screen = GetDC(nullptr);
    for (int i = 0; i < 2; ++i) {
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
        ImageList_Add(list, bitmap, nullptr);
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
    return list;
}

TEST(AccountList, ImageListsOutliveTheListViewAndGoWithTheListObject) {
    testing::RunInDialog([&](ui::CDialog& d) {
        const HIMAGELIST state = TwoImages();
        const HIMAGELIST small = TwoImages();
        {
            CAccountListCtrl list;
            // A list view that would destroy its image lists itself.
            const HWND view = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0,
                                              100, 50, d, nullptr, nullptr, nullptr);
            ASSERT_TRUE(list.HookWindow(view));
            list.SetImageLists(state, small);
            DestroyWindow(view);
            // Still whole after the view has gone: the view did not destroy them.
            EXPECT_EQ(ImageList_GetImageCount(state), 2);
            EXPECT_EQ(ImageList_GetImageCount(small), 2);
        }
        // The list object destroyed them.
        EXPECT_EQ(ImageList_GetImageCount(state), 0);
        EXPECT_EQ(ImageList_GetImageCount(small), 0);
    });
}

}  // namespace
}  // namespace quorlet
