// The base of the framework's windows that are not dialogs: its procedure sees the window's
// first messages, a failing handler does not take the program down, and the object lets go of
// the window when it goes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "ui/custom_wnd.h"

namespace quorlet {
namespace {

class ProbeWnd final : public ui::CCustomWnd {
public:
    std::vector<UINT> seen;
    bool Create() {
        return CreateEx(WS_EX_TOOLWINDOW, L"QuorletProbeWnd", WS_POPUP, RECT{0, 0, 20, 20},
                        nullptr);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        if (message == WM_APP) {
            throw std::runtime_error("handler failed");
        }
        return CCustomWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(CustomWnd, SeesTheFirstMessagesKeepsExceptionsInsideAndLetsGoOnDestroy) {
    ProbeWnd probe;
    ASSERT_TRUE(probe.Create());
    const HWND window = probe.m_hWnd;
    ASSERT_NE(window, nullptr);
    ASSERT_GE(probe.seen.size(), 2u);
    EXPECT_EQ(probe.seen[0], static_cast<UINT>(WM_NCCREATE));
    EXPECT_NE(std::find(probe.seen.begin(), probe.seen.end(), static_cast<UINT>(WM_CREATE)),
              probe.seen.end());
    EXPECT_EQ(ui::CCustomWnd::FromHandle(window), &probe);

    EXPECT_EQ(SendMessageW(window, WM_APP, 0, 0), 0);  // the default answer, not a crash
    EXPECT_EQ(probe.seen.back(), static_cast<UINT>(WM_APP));

    // A second window of the same class shares the registration.
    ProbeWnd second;
    EXPECT_TRUE(second.Create());

    DestroyWindow(window);
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace quorlet
