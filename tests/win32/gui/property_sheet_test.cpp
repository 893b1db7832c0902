// The property sheet of the window framework on pages of the program's own resources: a page
// that refuses to be left keeps the sheet on it (also for OK), the sheet has neither Apply nor
// Help, only OK after the pages agreed ends it with IDOK, the radio exchange counts the radio
// buttons of its group alone, and only windows the framework made are taken for its dialogs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <utility>

#include "app_ids.h"
#include "gui_support.h"
#include "resource.h"
#include "ui/data_exchange.h"
#include "ui/property_sheet.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;

class ProbePage : public ui::CPropertyPage {
public:
    using CPropertyPage::CPropertyPage;
    bool leave = true;
    int asked = 0;

protected:
    bool OnKillActive() override {
        ++asked;
        return leave;
    }
};

// The system sheet's own "Apply" button (not in every SDK's headers).
constexpr int kApplyButton = 0x3021;

HWND CurrentPage(HWND sheet) {
    return PropSheet_GetCurrentPageHwnd(sheet);
}

TEST(PropertySheetFramework, APageThatRefusesKeepsTheSheetAndOnlyAgreedOkEndsWithOk) {
    ProbePage first(IDD_OPTION_GENERAL);
    ProbePage second(IDD_OPTION_FEE);
    ui::SetDialogScript(IDD_OPTION_GENERAL, [&](ui::CDialog& page) {
        const HWND sheet = GetParent(page);
        EXPECT_EQ(ui::CDialog::FromHandle(page), &page);
        EXPECT_EQ(ui::CDialog::FromHandle(sheet), nullptr);  // the system's frame
        EXPECT_EQ(ui::GetText(sheet), "设置");
        for (int button : {kApplyButton, IDHELP}) {
            const HWND found = GetDlgItem(sheet, button);
            EXPECT_TRUE(found == nullptr || !IsWindowVisible(found)) << button;
        }
        first.leave = false;
        PropSheet_SetCurSel(sheet, nullptr, 1);
        EXPECT_EQ(CurrentPage(sheet), page.m_hWnd);
        testing::Click(sheet, IDOK);
        testing::PumpFor(50ms);
        EXPECT_TRUE(IsWindowVisible(sheet));
        EXPECT_EQ(first.asked, 2);

        first.leave = true;
        PropSheet_SetCurSel(sheet, nullptr, 1);
        EXPECT_NE(CurrentPage(sheet), page.m_hWnd);
        EXPECT_EQ(CurrentPage(sheet), second.m_hWnd);
        testing::Click(sheet, IDOK);
    });
    ui::CPropertySheet sheet("设置");
    sheet.AddPage(first);
    sheet.AddPage(second);
    EXPECT_EQ(sheet.DoModal(nullptr), IDOK);
    EXPECT_EQ(second.asked, 1);  // OK asks the page that is showing

    // Cancel ends without asking and without OK.
    ui::SetDialogScript(IDD_OPTION_GENERAL,
                        [](ui::CDialog& page) { testing::Click(GetParent(page), IDCANCEL); });
    first.asked = 0;
    first.leave = false;
    EXPECT_EQ(sheet.DoModal(nullptr), IDCANCEL);
    ui::ClearDialogScripts();
}

// The filtered-mail choice of the mail page: "列表" and "直接删除", then the next group.
TEST(PropertySheetFramework, RadioExchangeCountsOnlyTheRadioButtonsOfItsGroup) {
    ProbePage page(IDD_OPTION_MAIL);
    ui::SetDialogScript(IDD_OPTION_MAIL, [&](ui::CDialog& d) {
        const HWND list = d.GetDlgItem(IDC_OPTION_MAIL_LIST_FILTERED);
        const HWND remove = d.GetDlgItem(IDC_OPTION_MAIL_DELETE_FILTERED);
        // A label among the buttons, and a radio button that starts a group of its own after.
        const HWND label = CreateWindowExW(0, L"STATIC", L"x", WS_CHILD, 0, 0, 10, 10, d, nullptr,
                                           nullptr, nullptr);
        SetWindowPos(label, list, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const HWND other =
            CreateWindowExW(0, L"BUTTON", L"y", WS_CHILD | WS_GROUP | BS_AUTORADIOBUTTON, 0, 0, 10,
                            10, d, nullptr, nullptr, nullptr);
        SetWindowPos(other, remove, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

        int value = 1;
        ui::CDataExchange show(d, false);
        ui::DDX_Radio(show, IDC_OPTION_MAIL_LIST_FILTERED, value);
        EXPECT_EQ(SendMessageW(remove, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(SendMessageW(list, BM_GETCHECK, 0, 0), BST_UNCHECKED);

        SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);
        const std::pair<HWND, int> cases[] = {{list, 0}, {remove, 1}};
        for (const auto& [checked, expected] : cases) {
            SendMessageW(list, BM_SETCHECK, checked == list ? BST_CHECKED : BST_UNCHECKED, 0);
            SendMessageW(remove, BM_SETCHECK, checked == remove ? BST_CHECKED : BST_UNCHECKED, 0);
            ui::CDataExchange read(d, true);
            ui::DDX_Radio(read, IDC_OPTION_MAIL_LIST_FILTERED, value);
            EXPECT_EQ(value, expected);
        }
        testing::Click(GetParent(d), IDCANCEL);
    });
    ui::CPropertySheet sheet("设置");
    sheet.AddPage(page);
    sheet.DoModal(nullptr);
    ui::ClearDialogScripts();
}

// A dialog window of the system's class whose user data points at a framework dialog is still
// not one of the framework's.
TEST(PropertySheetFramework, FromHandleNeverTrustsTheUserDataOfAForeignDialogWindow) {
    ProbePage page(IDD_OPTION_FEE);
    const HWND foreign = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                         nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    SetWindowLongPtrW(foreign, DWLP_USER, reinterpret_cast<LONG_PTR>(&page));
    EXPECT_EQ(ui::CDialog::FromHandle(foreign), nullptr);
    DestroyWindow(foreign);
}

}  // namespace
}  // namespace quorlet
