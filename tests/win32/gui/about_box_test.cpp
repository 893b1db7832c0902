// The About box: it opens from its command with the name line and both links, fades in at
// opening and out before each way of closing, and its links reach the shell or say why not.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/gui/about_dlg.h"
#include "app_ids.h"
#include "gui_support.h"
#include "platform/memory_registry.h"
#include "quorlet_version.h"
#include "resource.h"
#include "ui/window.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;

// Records each fade and whether the window was still there to fade.
class FadeRecordingAbout final : public CAboutDlg {
public:
    using CAboutDlg::CAboutDlg;
    std::vector<DWORD> fades;

protected:
    void Fade(DWORD flags) override {
        fades.push_back(flags);
        CAboutDlg::Fade(flags);
    }
};

struct AboutFixture {
    testing::ScriptedPrompter prompter;
    testing::RecordingShell shell;
    MemoryRegistry registry;  // no browser command: a failed open stays failed
    FadeRecordingAbout about{shell, registry, prompter};
};

TEST(AboutBox, FadesInAndOutBeforeEachWayOfClosing) {
    const std::vector<std::function<void(HWND)>> closers = {
        [](HWND d) { testing::Click(d, IDC_ABOUT_BACK); },
        [](HWND d) { testing::PressKey(d, VK_ESCAPE); },
        [](HWND d) { SendMessageW(d, WM_CLOSE, 0, 0); },
    };
    for (std::size_t i = 0; i < closers.size(); ++i) {
        AboutFixture f;
        ui::SetDialogScript(IDD_ABOUT, [&](ui::CDialog& d) {
            EXPECT_TRUE(IsWindowVisible(d));
            EXPECT_EQ(f.about.fades, std::vector<DWORD>{AW_BLEND});
            closers[i](d);
            testing::PumpFor(20ms);
        });
        EXPECT_GE(f.about.DoModal(nullptr), 0) << i;
        EXPECT_EQ(f.about.fades, (std::vector<DWORD>{AW_BLEND, AW_BLEND | AW_HIDE})) << i;
        ui::ClearDialogScripts();
    }
}

TEST(AboutBox, LinksReachTheShellOrReportWhyNot) {
    AboutFixture f;
    ui::SetDialogScript(IDD_ABOUT, [&](ui::CDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_ABOUT_NAME),
                  QUORLET_CHINESE_NAME " (" QUORLET_PRODUCT_NAME ") " QUORLET_VERSION);
        const HWND mail = d.GetDlgItem(IDC_ABOUT_MAIL_LINK);
        const HWND web = d.GetDlgItem(IDC_ABOUT_WEB_LINK);
        SendMessageW(mail, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        SendMessageW(web, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(f.shell.opened, (std::vector<std::string>{QUORLET_CONTACT, QUORLET_HOME_PAGE}));
        EXPECT_TRUE(f.prompter.shown.empty());

        f.shell.openResult = SE_ERR_NOASSOC;
        SendMessageW(web, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        ASSERT_EQ(f.prompter.shown.size(), 1u);
        EXPECT_EQ(f.prompter.shown[0].text,
                  "Unable to open hyperlink:\n\nThere is no application associated\nwith the "
                  "given filename extension.");
        EXPECT_EQ(f.prompter.shown[0].icon, MessageIcon::Exclamation);
        testing::SaveScreenshot(d, "about");
        d.EndDialog(IDCANCEL);
    });
    f.about.DoModal(nullptr);
    ui::ClearDialogScripts();
}

TEST(AboutBox, OpensFromItsCommand) {
    testing::MainWindowHarness harness;
    harness.Run([&](CMainDlg& window) {
        bool opened = false;
        ui::SetDialogScript(IDD_ABOUT, [&](ui::CDialog& d) {
            opened = ui::GetText(d) == "关于";
            testing::Click(d, IDC_ABOUT_BACK);
        });
        window.SendMessage(WM_COMMAND, ID_ABOUT);
        EXPECT_TRUE(opened);
        window.EndDialog(IDCANCEL);
    });
}

}  // namespace
}  // namespace quorlet
