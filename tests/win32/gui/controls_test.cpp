// The self-drawn controls and window helpers, inside a real dialog of the program (the startup
// password dialog, whose two buttons are hover buttons).
#include <gtest/gtest.h>

#include <functional>

#include "app_ids.h"
#include "gui_support.h"
#include "resource.h"
#include "ui/hover_button.h"
#include "ui/icon_button.h"
#include "ui/list_box_extent.h"
#include "ui/popup_text.h"
#include "ui/subclass_wnd.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;

using testing::RunInDialog;

// A control's face drawn into memory through its owner-draw path, as 0x00BBGGRR pixels.
class Face {
public:
    Face(HWND control, UINT state) {
        RECT rect;
        GetClientRect(control, &rect);
        m_width = rect.right;
        m_height = rect.bottom;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, m_width, m_height);
        HGDIOBJ old = SelectObject(dc, bitmap);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = control;
        item.hDC = dc;
        item.rcItem = rect;
        SendMessageW(control, ui::kReflectedDrawItem, 0, reinterpret_cast<LPARAM>(&item));
        m_pixels.resize(static_cast<std::size_t>(m_width) * m_height);
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                m_pixels[static_cast<std::size_t>(y) * m_width + x] = GetPixel(dc, x, y);
            }
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    COLORREF At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
    bool Any(const std::function<bool(int r, int g, int b)>& test) const {
        for (COLORREF c : m_pixels) {
            if (test(GetRValue(c), GetGValue(c), GetBValue(c))) {
                return true;
            }
        }
        return false;
    }
    // Left and right edge of the pixels that differ from the background colour, in columns
    // before limit.
    std::pair<int, int> Columns(COLORREF background, int limit) const {
        int left = m_width;
        int right = -1;
        for (int y = 2; y < m_height - 2; ++y) {
            for (int x = 2; x < std::min(limit, m_width - 2); ++x) {
                if (At(x, y) != background) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        return {left, right};
    }
    int width() const { return m_width; }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};

bool Blue(int r, int g, int b) {
    return b > 200 && r < 90 && g < 90;
}
bool Navy(int r, int g, int b) {
    return b > 90 && b < 170 && r < 50 && g < 50;
}

TEST(HoverButton, HoverTurnsTheTextBluePressingSinksItAndReleasingEndsTheHover) {
    RunInDialog([](ui::CDialog& dialog) {
        HWND button = dialog.GetDlgItem(IDC_PASSWORD_OK);
        EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

        const Face plain(button, 0);
        EXPECT_EQ(plain.At(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(plain.At(plain.width() - 1, 5), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_FALSE(plain.Any(Blue));
        EXPECT_TRUE(plain.Any([](int r, int g, int b) { return r + g + b < 150; }));  // text

        SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(GetCapture(), button);  // hovering, the button follows the mouse
        const Face hovered(button, 0);
        EXPECT_TRUE(hovered.Any(Blue));
        const Face pressed(button, ODS_SELECTED);
        EXPECT_EQ(pressed.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(pressed.At(pressed.width() - 1, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_TRUE(pressed.Any(Navy));
        EXPECT_FALSE(pressed.Any(Blue));

        // Releasing the mouse ends the hover look at once, the pointer still on the button.
        SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        const Face released(button, 0);
        EXPECT_FALSE(released.Any(Blue));
        EXPECT_EQ(released.At(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
        ReleaseCapture();
    });
}

TEST(HoverButton, APictureThatCannotBeLoadedLeavesThePlainFace) {
    RunInDialog([](ui::CDialog& dialog) {
        for (const int picture : {9999, IDB_SKIN}) {
            SCOPED_TRACE(picture);
            const HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 4, 4, 40,
                                                20, dialog, nullptr, nullptr, nullptr);
            ui::CHoverButton skinned;
            ASSERT_TRUE(skinned.HookWindow(button));
            skinned.SetBackgroundBitmap(picture);
            skinned.SetBackgroundSlice(100, 100, 40, 20);
            skinned.SetBackgroundSize(385, 227);
            const bool loaded = skinned.LoadBackground(GetDC(button), L"");
            EXPECT_EQ(loaded, picture == IDB_SKIN);
            if (!loaded) {
                EXPECT_EQ(Face(button, 0).At(20, 10), GetSysColor(COLOR_BTNFACE));
            }
            DestroyWindow(button);
        }
    });
}

TEST(IconButton, IconAloneIsCentredAndBesideTextItSitsThreePixelsFromTheLeft) {
    RunInDialog([](ui::CDialog& dialog) {
        HWND host =
            CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 120,
                            40, dialog.m_hWnd, reinterpret_cast<HMENU>(2001), nullptr, nullptr);
        ui::CIconButton button;
        ASSERT_TRUE(button.HookWindow(host));
        button.SetIcon(IDI_BUTTON_OK, 0, 32, 32);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);

        const Face alone(host, 0);
        const auto [aloneLeft, aloneRight] = alone.Columns(face, 120);
        ASSERT_LT(aloneLeft, aloneRight);
        // Placed at (120 - 32) / 2 = 44: the picture's columns lie within 44..75.
        EXPECT_GE(aloneLeft, 44);
        EXPECT_LE(aloneRight, 75);

        SetWindowTextW(host, L"确定");
        const Face withText(host, 0);
        const auto [left, right] = withText.Columns(face, 35);
        EXPECT_EQ(left, aloneLeft - 41);  // placed at 3 instead of 44
        EXPECT_EQ(right, aloneRight - 41);

        // Pressed, the icon moves by one pixel.
        const Face pressed(host, ODS_SELECTED);
        EXPECT_EQ(pressed.Columns(face, 35).first, left + 1);
        button.HookWindow(nullptr);
        DestroyWindow(host);
    });
}

TEST(ListBoxExtent, FitsTheLongestItemAndIsZeroForAnEmptyList) {
    RunInDialog([](ui::CDialog& dialog) {
        HWND list =
            CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_HSCROLL | LBS_NOTIFY, 0, 0, 60, 80,
                            dialog.m_hWnd, reinterpret_cast<HMENU>(2002), nullptr, nullptr);
        SendMessageW(list, WM_SETFONT, SendMessageW(dialog.m_hWnd, WM_GETFONT, 0, 0), FALSE);
        SendMessageW(list, LB_SETHORIZONTALEXTENT, 77, 0);
        ui::SetListBoxExtent(dialog.m_hWnd, 2002);
        EXPECT_EQ(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);

        const wchar_t* longest = L"spam@example.com 的很长的地址";
        for (const wchar_t* item : {L"a@b", longest, L"中文"}) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        ui::SetListBoxExtent(dialog.m_hWnd, 2002);
        HDC dc = GetDC(list);
        HGDIOBJ old = SelectObject(
            dc, reinterpret_cast<HFONT>(SendMessageW(dialog.m_hWnd, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, longest, lstrlenW(longest), &size);
        SelectObject(dc, old);
        ReleaseDC(list, dc);
        EXPECT_EQ(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), size.cx + 3);
        DestroyWindow(list);
    });
}

TEST(PopupText, FitsItsTextShowsLaterOrAtOnceAndLetsTheMouseThrough) {
    RunInDialog([](ui::CDialog& dialog) {
        ui::CPopupText popup;
        ASSERT_TRUE(popup.Create({200, 150}, dialog.m_hWnd,
                                 ui::CPopupText::kTransparent | ui::CPopupText::kJustifyRight));
        EXPECT_FALSE(IsWindowVisible(popup.m_hWnd));
        EXPECT_NE(GetWindowLongW(popup.m_hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);

        popup.SetWindowText("完整的单元格文字 full text");
        RECT client;
        GetClientRect(popup.m_hWnd, &client);
        HDC dc = GetDC(popup.m_hWnd);
        HGDIOBJ old = SelectObject(
            dc, reinterpret_cast<HFONT>(SendMessageW(dialog.m_hWnd, WM_GETFONT, 0, 0)));
        RECT text{0, 0, 0, 0};
        DrawTextW(dc, L"完整的单元格文字 full text", -1, &text,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(popup.m_hWnd, dc);
        EXPECT_EQ(client.right, text.right + 8);
        EXPECT_EQ(client.bottom, text.bottom + 8);
        RECT window;
        GetWindowRect(popup.m_hWnd, &window);
        EXPECT_EQ(window.right, 200);  // the right edge stayed where it was
        EXPECT_EQ(SendMessageW(popup.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(window.left + 2, 152)),
                  HTTRANSPARENT);

        popup.ShowDelayed(100);
        EXPECT_FALSE(IsWindowVisible(popup.m_hWnd));
        EXPECT_TRUE(testing::PumpUntil([&] { return IsWindowVisible(popup.m_hWnd) != FALSE; }, 2s));
        testing::SaveScreenshot(popup.m_hWnd, "popup-text");
        popup.Cancel();
        EXPECT_FALSE(IsWindowVisible(popup.m_hWnd));
        popup.ShowDelayed(0);
        EXPECT_TRUE(IsWindowVisible(popup.m_hWnd));
    });
}

class RecordingHook : public ui::CSubclassWnd {
public:
    RecordingHook(std::vector<std::string>& log, std::string name, bool swallow = false)
        : m_log(log), m_name(std::move(name)), m_swallow(swallow) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP + 7) {
            m_log.push_back(m_name);
            if (m_swallow) {
                return 99;
            }
        }
        return ui::CSubclassWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::vector<std::string>& m_log;
    std::string m_name;
    bool m_swallow;
};

TEST(SubclassWnd, TheNewestHookSeesMessagesFirstAndEveryHookLeavesWithTheWindow) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    std::vector<std::string> log;
    RecordingHook first(log, "first");
    RecordingHook second(log, "second");
    ASSERT_TRUE(first.HookWindow(window));
    ASSERT_TRUE(second.HookWindow(window));
    EXPECT_FALSE(second.HookWindow(window));  // one window per hook
    SendMessageW(window, WM_APP + 7, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));

    // A hook that leaves keeps the others in place.
    second.HookWindow(nullptr);
    log.clear();
    SendMessageW(window, WM_APP + 7, 0, 0);
    EXPECT_EQ(log, std::vector<std::string>{"first"});

    // A hook that handles a message ends its way down the chain.
    RecordingHook swallowing(log, "swallowing", true);
    swallowing.HookWindow(window);
    log.clear();
    EXPECT_EQ(SendMessageW(window, WM_APP + 7, 0, 0), 99);
    EXPECT_EQ(log, std::vector<std::string>{"swallowing"});

    DestroyWindow(window);
    EXPECT_FALSE(first.IsHooked());
    EXPECT_FALSE(swallowing.IsHooked());
}

}  // namespace
}  // namespace quorlet
