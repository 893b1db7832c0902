// The mail preview driven through the real windows after real checks against Dovecot: the rows
// and their decoded columns, the mailbox chooser, ticking, the deletion on the server (a message
// changed since the check survives), "加入(&j)", the stop during a connect that never gets an
// answer, the resizable layout and the list-cell tip; and, in list mode, the preview opening by
// itself after a check while the main window is hidden.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "app_ids.h"
#include "dialog_helpers.h"
#include "gui_support.h"
#include "mail/accounts.h"
#include "mail/gui/preview_dlg.h"
#include "mail/preview_rows.h"
#include "mail_ids.h"
#include "platform/file_system.h"
#include "resource.h"
#include "support/check_support.h"
#include "support/delay_proxy.h"
#include "support/mail_fixture.h"
#include "ui/controls.h"
#include "ui/list_tip.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using testing::InParent;
using testing::MailFixture;
using testing::MainWindowHarness;

std::string Raw(const std::string& from, const std::string& subject) {
    return "From: " + from + "\r\nSubject: " + subject +
           "\r\nDate: Tue, 07 May 2002 08:00:00 +0800\r\n\r\nbody\r\n";
}

std::vector<std::string> Row(const ui::CListCtrl& list, int row) {
    std::vector<std::string> texts;
    for (int column = 0; column < 6; ++column) {
        texts.push_back(list.GetItemText(row, column));
    }
    return texts;
}

std::string Column(const ui::CListCtrl& list, int column) {
    std::string joined;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        joined += (row > 0 ? "|" : "") + list.GetItemText(row, column);
    }
    return joined;
}

std::string Ticks(const ui::CListCtrl& list) {
    std::string ticks;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        ticks += list.GetStateImage(row) == 2 ? '1' : '0';
    }
    return ticks;
}

POINT CellCentre(const ui::CListCtrl& list, int row, int column) {
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_LABEL;
    list.SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    return {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
}

void ClickRow(const ui::CListCtrl& list, int row) {
    const POINT at = CellCentre(list, row, 1);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

std::string EnabledButtons(ui::CDialog& preview) {
    std::string enabled;
    for (int id :
         {IDC_PREVIEW_ADD_ADDRESSES, IDC_PREVIEW_DELETE, IDC_PREVIEW_SELECT_ALL,
          IDC_PREVIEW_SELECT_NONE, IDC_PREVIEW_INVERT, IDC_PREVIEW_STOP, IDC_PREVIEW_EXIT}) {
        enabled += IsWindowEnabled(preview.GetDlgItem(id)) ? '1' : '0';
    }
    return enabled;
}

class PreviewWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(servers.Available()) << "run under tests/fixtures/mail_servers.sh";
        for (int k = 1; k <= servers.Users(); ++k) {
            servers.Clear(k);
        }
        harness.realNet = &SystemNet();
    }
    void TearDown() override { ui::ClearDialogScripts(); }

    AccountRecord Account(const std::string& name, int k) {
        return {name, servers.Pop3Server(), MailFixture::User(k), MailFixture::Password(k)};
    }
    std::vector<std::string> Subjects(int k) { return testing::SubjectsOf(servers.Messages(k)); }

    MailFixture servers;
    MainWindowHarness harness;
};

// List mode, the main window hidden: the check's filtered mail opens the preview by itself (and
// the tray does not blink). In it: the columns, the chooser, ticking, the layout, the cell tip,
// and a deletion of two of five messages beside one that changed on the server meanwhile.
TEST_F(PreviewWindow, ListModeOpensThePreviewWhichDeletesTheChosenMessages) {
    servers.Deliver(1, Raw("=?gb2312?B?1cXI/Q==?= <zhang@x.cn>", "=?utf-8?Q?=E4=BD=A0=E5=A5=BD?="));
    servers.Deliver(1, Raw("a@x", "cheap spam offer"));
    servers.Deliver(1, Raw("b@x", "third"));
    servers.Deliver(1, Raw("c@x", "a subject far too long for its column to show it whole"));
    servers.Deliver(1, Raw("d@x", "fifth"));
    servers.Deliver(2, Raw("e@x", "kept"));
    servers.Deliver(2, Raw("f@x", "changed later"));
    ASSERT_TRUE(WriteFileAtomically("Subject.ini", "[Main]\r\nTotal=1\r\n[Subject]\r\n0=spam\r\n"));
    MainSettings settings;
    settings.m_iRadio = 1;
    harness.Store(settings, {Account("甲", 1), Account("乙", 2)});
    bool opened = false;
    harness.Run([&](CMainDlg& window) {
        ui::SetDialogScript(IDD_PREVIEW, [&](ui::CDialog& d) {
            opened = true;
            auto& preview = static_cast<CPreviewDlg&>(d);
            const ui::CListCtrl list(d.GetDlgItem(IDC_PREVIEW_MESSAGES));
            EXPECT_EQ(d.GetWindowText(), "邮件预览(信件数:7 已删除信件:0)");
            ASSERT_EQ(list.GetItemCount(), 7);
            const std::string size = std::to_string(MailFixture::Pop3Size(
                Raw("=?gb2312?B?1cXI/Q==?= <zhang@x.cn>", "=?utf-8?Q?=E4=BD=A0=E5=A5=BD?=")));
            EXPECT_EQ(Row(list, 0), (std::vector<std::string>{"甲", " 张三 <zhang@x.cn>", " 你好",
                                                              "2002-5-07 08:00:00", size, ""}));
            EXPECT_EQ(Column(list, 0), "甲|甲|甲|甲|甲|乙|乙");
            EXPECT_EQ(Ticks(list), "0100000") << "the filtered row opens ticked";
            EXPECT_EQ(EnabledButtons(d), "1111101");
            testing::SaveScreenshot(d, "preview-filtered");

            // One mailbox: only its rows, and the ticks elsewhere are gone when all come back.
            ClickRow(list, 2);
            EXPECT_EQ(Ticks(list), "0110000");
            testing::Choose(d, IDC_PREVIEW_MAILBOX, 2);
            EXPECT_EQ(Column(list, 0), "乙|乙");
            EXPECT_EQ(Column(list, 2), " kept| changed later");
            testing::Choose(d, IDC_PREVIEW_MAILBOX, 0);
            EXPECT_EQ(Ticks(list), "0100000");

            // The cell tip: over a subject that does not fit, not over one that does.
            const HWND tip = ui::CListTip::Popup().m_hWnd;
            ASSERT_NE(tip, nullptr);
            const POINT longCell = CellCentre(list, 3, 2);
            list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(longCell.x, longCell.y));
            EXPECT_TRUE(testing::PumpUntil([&] { return IsWindowVisible(tip) != FALSE; }, 2s));
            EXPECT_EQ(ui::GetText(tip), " a subject far too long for its column to show it whole");
            RECT tipRect;
            GetWindowRect(tip, &tipRect);
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            GetMonitorInfoW(MonitorFromWindow(list, MONITOR_DEFAULTTONEAREST), &monitor);
            EXPECT_LE(tipRect.right, monitor.rcWork.right);
            EXPECT_GE(tipRect.left, monitor.rcWork.left);
            const POINT shortCell = CellCentre(list, 2, 2);
            list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(shortCell.x, shortCell.y));
            testing::PumpFor(300ms);
            EXPECT_FALSE(IsWindowVisible(tip));

            // The layout: the list stretches, the buttons follow, the window stops at its size.
            RECT first;
            GetWindowRect(d, &first);
            const RECT listBefore = InParent(list);
            const RECT deleteBefore = InParent(d.GetDlgItem(IDC_PREVIEW_DELETE));
            const RECT chooserBefore = InParent(d.GetDlgItem(IDC_PREVIEW_MAILBOX));
            SetWindowPos(d, nullptr, 0, 0, first.right - first.left + 40,
                         first.bottom - first.top + 31, SWP_NOMOVE | SWP_NOZORDER);
            EXPECT_EQ(InParent(list).right - listBefore.right, 40);
            EXPECT_EQ(InParent(list).bottom - listBefore.bottom, 31);
            EXPECT_EQ(InParent(d.GetDlgItem(IDC_PREVIEW_DELETE)).left - deleteBefore.left, 20);
            EXPECT_EQ(InParent(d.GetDlgItem(IDC_PREVIEW_DELETE)).top - deleteBefore.top, 31);
            EXPECT_EQ(InParent(d.GetDlgItem(IDC_PREVIEW_MAILBOX)).left, chooserBefore.left);
            SetWindowPos(d, nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
            RECT smallest;
            GetWindowRect(d, &smallest);
            EXPECT_EQ(smallest.right - smallest.left, first.right - first.left);
            EXPECT_EQ(smallest.bottom - smallest.top, first.bottom - first.top);
            EXPECT_EQ(InParent(d.GetDlgItem(IDC_PREVIEW_DELETE)).left, deleteBefore.left);

            // Two of five in the first mailbox, and a message of the second that another mail
            // program replaced since the check.
            testing::Click(d, IDC_PREVIEW_SELECT_NONE);
            EXPECT_EQ(Ticks(list), "0000000");
            for (int row : {0, 3, 6}) {
                ClickRow(list, row);
            }
            servers.Clear(2);
            servers.Deliver(2, Raw("e@x", "kept"));
            servers.Deliver(2, Raw("g@x", "not the one seen"));
            testing::Click(d, IDC_PREVIEW_DELETE);
            EXPECT_TRUE(preview.m_bDeleting);
            ASSERT_TRUE(testing::PumpUntil([&] { return !preview.m_bDeleting; }, 30s));
            EXPECT_EQ(Column(list, 5), "已删除|正常|正常|已删除|正常||删除失败");
            EXPECT_EQ(d.GetWindowText(), "邮件预览(信件数:7 已删除信件:2)");
            EXPECT_EQ(Ticks(list), "0000000");
            testing::Click(d, IDC_PREVIEW_SELECT_ALL);
            EXPECT_EQ(Ticks(list), "0000010") << "only the row the deletion did not reach";
            EXPECT_EQ(EnabledButtons(d), "1111101");
            d.EndDialog(IDCANCEL);
        });
        testing::Click(window.m_hWnd, IDC_HIDE);
        const HICON idle = window.TrayIcon().Icon();
        window.SendMessage(WM_COMMAND, IDC_CHECK);
        ASSERT_TRUE(testing::PumpUntil([&] { return opened; }, 30s));
        // Nothing blinks: the preview showed the mail.
        const bool blinked =
            testing::PumpUntil([&] { return window.TrayIcon().Icon() != idle; }, 1200ms);
        EXPECT_FALSE(blinked);
        window.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(harness.prompter.Texts(), std::vector<std::string>{kConfirmDelete});
    EXPECT_EQ(Subjects(1), (std::vector<std::string>{"cheap spam offer", "third", "fifth"}));
    EXPECT_EQ(Subjects(2), (std::vector<std::string>{"kept", "not the one seen"}));
}

// The preview opened by its button: after an empty check only "退出(&e)" works, and a check that
// ends meanwhile fills it; "加入(&j)" knows a listed sender, and "中止(&s)" ends a deletion that
// waits for a server that never answers.
TEST_F(PreviewWindow, ThePreviewButtonAfterAnEmptyCheckThenAddingAndStopping) {
    MainSettings settings;
    settings.m_bAddressDisable = true;  // the listed sender is not filtered: the rows start plain
    harness.Store(settings, {Account("甲", 1)});
    const std::string addresses = "[Main]\r\nTotal=1\r\n[Email]\r\n0=dup@x\r\n";
    ASSERT_TRUE(WriteFileAtomically("Address.ini", addresses));
    testing::DelayProxy silent(SystemNet(), MailFixture::kHost, servers.Pop3Port(), 60s);
    harness.Run([&](CMainDlg& window) {
        const auto check = [&] {
            testing::Click(window.m_hWnd, IDC_CHECK);
            ASSERT_TRUE(testing::PumpUntil([&] { return !window.Busy(); }, 30s));
            testing::PumpFor(300ms);  // the notification of timer 3
        };
        check();
        int openings = 0;
        ui::SetDialogScript(IDD_PREVIEW, [&](ui::CDialog& d) {
            ++openings;
            EXPECT_EQ(d.GetWindowText(), "邮件预览(信件数:0 已删除信件:0)");
            EXPECT_EQ(ui::CListCtrl(d.GetDlgItem(IDC_PREVIEW_MESSAGES)).GetItemCount(), 0);
            EXPECT_EQ(EnabledButtons(d), "0000001");
            // A check that ends while the window is open fills it again.
            servers.Deliver(1, Raw("dup@x", "one"));
            servers.Deliver(1, Raw("other@x", "two"));
            servers.Deliver(1, Raw("dup@x", "three"));
            window.SendMessage(WM_COMMAND, IDC_CHECK);
            ASSERT_TRUE(testing::PumpUntil([&] { return !window.Busy(); }, 30s));
            EXPECT_EQ(Column(ui::CListCtrl(d.GetDlgItem(IDC_PREVIEW_MESSAGES)), 2),
                      " one| two| three");
            EXPECT_EQ(d.GetWindowText(), "邮件预览(信件数:3 已删除信件:0)");
            EXPECT_EQ(EnabledButtons(d), "1111101");
            testing::Click(d, IDC_PREVIEW_EXIT);
        });
        testing::Click(window.m_hWnd, IDC_PREVIEW);
        EXPECT_EQ(openings, 1);

        testing::PumpFor(300ms);  // the notification of that check
        ui::SetDialogScript(IDD_PREVIEW, [&](ui::CDialog& d) {
            ++openings;
            auto& preview = static_cast<CPreviewDlg&>(d);
            // The mailbox is now behind a server whose greeting never comes.
            {
                std::lock_guard lock(preview.m_mails.Lock());
                for (MailRecord& r : preview.m_mails.Records()) {
                    r.m_strServer = silent.Server();
                }
            }
            preview.Refill();
            const ui::CListCtrl list(d.GetDlgItem(IDC_PREVIEW_MESSAGES));
            ClickRow(list, 0);
            ClickRow(list, 2);
            testing::Click(d, IDC_PREVIEW_ADD_ADDRESSES);
            EXPECT_EQ(harness.prompter.Texts(),
                      (std::vector<std::string>{kConfirmAdd, " dup@x", " dup@x"}));
            for (std::size_t i = 1; i < harness.prompter.shown.size(); ++i) {
                EXPECT_EQ(harness.prompter.shown[i].title, "重复定义");
                EXPECT_EQ(harness.prompter.shown[i].icon, MessageIcon::Exclamation);
            }
            harness.prompter.shown.clear();

            // While a check runs no deletion starts.
            testing::MainDlgProbe::Busy(window) = true;
            testing::Click(d, IDC_PREVIEW_DELETE);
            testing::MainDlgProbe::Busy(window) = false;
            EXPECT_EQ(harness.prompter.Texts(), std::vector<std::string>{kMailBeingUpdated});
            EXPECT_FALSE(preview.m_bDeleting);
            harness.prompter.shown.clear();

            testing::Click(d, IDC_PREVIEW_DELETE);
            ASSERT_TRUE(preview.m_bDeleting);
            EXPECT_EQ(d.GetWindowText(), "邮件预览[正在删除...]");
            EXPECT_EQ(EnabledButtons(d), "0000010");
            EXPECT_FALSE(IsWindowEnabled(d.GetDlgItem(IDC_PREVIEW_MAILBOX)));
            testing::PumpFor(300ms);
            testing::SaveScreenshot(d, "preview-deleting");
            // Closing waits for the deletion; no check and no account change meanwhile.
            d.SendMessage(WM_CLOSE);
            EXPECT_TRUE(IsWindow(d) && preview.m_bDeleting);
            window.SendMessage(WM_COMMAND, IDC_CHECK);
            EXPECT_FALSE(window.Busy());
            window.SendMessage(WM_COMMAND, IDC_MODIFY_ACCOUNTS);
            EXPECT_EQ(harness.prompter.Texts(),
                      (std::vector<std::string>{kConfirmDelete, kMailBeingUpdated}));

            const auto stopped = std::chrono::steady_clock::now();
            testing::Click(d, IDC_PREVIEW_STOP);
            EXPECT_EQ(d.GetWindowText(), "邮件预览[中止删除...]");
            ASSERT_TRUE(testing::PumpUntil([&] { return !preview.m_bDeleting; }, 10s));
            EXPECT_LT(std::chrono::steady_clock::now() - stopped, 5s) << "not the 60 s wait";
            EXPECT_EQ(Column(list, 5), "正常|正常|正常");
            EXPECT_EQ(d.GetWindowText(), "邮件预览(信件数:3 已删除信件:0)");
            testing::PressKey(d, VK_ESCAPE);
        });
        testing::Click(window.m_hWnd, IDC_PREVIEW);
        EXPECT_EQ(openings, 2);
        window.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(ReadWholeFile("Address.ini"), addresses) << "nothing written";
    EXPECT_EQ(Subjects(1).size(), 3u);
}

}  // namespace
}  // namespace quorlet
