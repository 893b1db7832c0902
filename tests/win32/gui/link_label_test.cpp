// The link label on a static control added to a real dialog of the program: its text, font,
// tooltip, colours as the dialog asks for them, hover with the mouse capture, and clicks that
// open the link or report why they could not.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "gui_support.h"
#include "platform/memory_registry.h"
#include "ui/link_label.h"

namespace quorlet {
namespace {

constexpr int kLabelId = 4242;
const char* const kUrl = "mailto:support@quorlet.example.org";

struct LinkFixture {
    testing::ScriptedPrompter prompter;
    testing::RecordingShell shell;
    MemoryRegistry registry;
    ui::CLinkLabel label{shell, registry, prompter};
};

// Runs body with a label attached to a static added to a real dialog of the program.
void WithLabel(LinkFixture& f, const std::function<void(HWND dialog, HWND label)>& body) {
    testing::RunInDialog([&](ui::CDialog& d) {
        const HWND label =
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 300, 40, d,
                            reinterpret_cast<HMENU>(kLabelId), nullptr, nullptr);
        SendMessageW(label, WM_SETFONT, SendMessageW(d, WM_GETFONT, 0, 0), FALSE);
        f.label.SetURL(kUrl);
        ASSERT_TRUE(f.label.Attach(d, kLabelId));
        body(d, label);
    });
}

HWND TooltipOf(HWND dialog) {
    struct Search {
        HWND owner;
        HWND found;
    } search{dialog, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == s->owner) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text colour and brush the dialog gives the label.
std::pair<COLORREF, HBRUSH> ColoursOf(HWND dialog, HWND label) {
    const HDC dc = GetDC(label);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
    const COLORREF colour = GetTextColor(dc);
    ReleaseDC(label, dc);
    return {colour, brush};
}

bool Underlined(HWND label) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfUnderline != FALSE;
}

TEST(LinkLabel, ShowsItsUrlUnderlinedWithATooltipAndFitsItsText) {
    LinkFixture f;
    WithLabel(f, [&](HWND dialog, HWND label) {
        EXPECT_EQ(ui::GetText(label), kUrl);  // empty text: the URL is shown
        EXPECT_NE(GetWindowLongPtrW(label, GWL_STYLE) & SS_NOTIFY, 0);
        EXPECT_TRUE(Underlined(label));

        const HWND tip = TooltipOf(dialog);
        ASSERT_NE(tip, nullptr);
        EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

        // The label is exactly as wide and high as its text in its own font.
        const HDC dc = GetDC(label);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        SIZE extent{};
        const std::wstring text = L"mailto:support@quorlet.example.org";
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        RECT rect;
        GetClientRect(label, &rect);
        EXPECT_EQ(rect.right, extent.cx);
        EXPECT_EQ(rect.bottom, extent.cy);

        const auto [colour, brush] = ColoursOf(dialog, label);
        EXPECT_EQ(colour, RGB(0, 0, 238));
        EXPECT_EQ(brush, GetStockObject(NULL_BRUSH));

        f.label.SetUnderline(false);
        EXPECT_FALSE(Underlined(label));
        testing::SaveScreenshot(dialog, "link_label");
    });
}

TEST(LinkLabel, HoverTakesTheMouseAndLeavingReleasesIt) {
    LinkFixture f;
    WithLabel(f, [&](HWND dialog, HWND label) {
        SendMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(f.label.IsHovered());
        EXPECT_EQ(GetCapture(), label);
        EXPECT_EQ(ColoursOf(dialog, label).first, GetSysColor(COLOR_HIGHLIGHT));
        SendMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(-5, 2));
        EXPECT_FALSE(f.label.IsHovered());
        EXPECT_NE(GetCapture(), label);
        EXPECT_EQ(ColoursOf(dialog, label).first, RGB(0, 0, 238));
    });
}

TEST(LinkLabel, AClickOpensTheLinkOrSaysWhyItCouldNot) {
    LinkFixture f;
    WithLabel(f, [&](HWND dialog, HWND label) {
        // The shell cannot open it and no browser command is known: the shell's reason is shown.
        f.shell.openResult = 26;
        SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        ASSERT_EQ(f.prompter.shown.size(), 1u);
        EXPECT_EQ(f.prompter.shown[0].text,
                  "Unable to open hyperlink:\n\nA sharing violation occurred. ");
        EXPECT_EQ(f.prompter.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_FALSE(f.label.GetVisited());

        // A release outside the label is no click.
        SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(-3, -3));
        EXPECT_EQ(f.shell.opened.size(), 1u);

        f.shell.openResult = 42;
        SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(f.shell.opened, (std::vector<std::string>{kUrl, kUrl}));
        EXPECT_TRUE(f.label.GetVisited());
        EXPECT_EQ(f.prompter.shown.size(), 1u);
        EXPECT_EQ(ColoursOf(dialog, label).first, RGB(85, 26, 139));
    });
}

}  // namespace
}  // namespace quorlet
