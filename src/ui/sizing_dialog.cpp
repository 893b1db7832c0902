#include "ui/sizing_dialog.h"

namespace quorlet::ui {
namespace {

Box BoxOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// A window's rectangle in its parent's client coordinates (its own, for a top-level window).
Box PlacementOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (const HWND parent = GetParent(window);
        parent != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return BoxOf(rect);
}

}  // namespace

Extent cdxCSizingDialog::FullScreenSize() {
    return {GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
}

BOOL cdxCSizingDialog::InitSizing(int growPercent, unsigned flags, bool grip) {
    const BOOL result = CDialog::OnInitDialog();
    Teardown();  // a dialog shown again registers its controls afresh
    RECT window;
    RECT client;
    GetWindowRect(m_hWnd, &window);
    GetClientRect(m_hWnd, &client);
    m_flags = flags;
    m_initialClient = {client.right - client.left, client.bottom - client.top};
    m_minimum = {window.right - window.left, window.bottom - window.top};
    m_maximum = {2147483647, 2147483647};
    m_bAttached = true;
    if (grip && m_grip.Create(m_hWnd, kGripId)) {
        AddControl(m_grip.m_hWnd, {100, 100, 100, 100});
    }
    if (growPercent != 0) {
        StretchWindow(ScaleChange(m_minimum, growPercent));
    }
    return result;
}

void cdxCSizingDialog::AddControl(HWND control, EdgePercents percents) {
    if (control != nullptr) {
        m_entries.push_back({control, percents, PlacementOf(control)});
    }
}

bool cdxCSizingDialog::SetMinMaxSize(Extent minimum, Extent maximum, bool apply) {
    if (!ValidSizeLimits(minimum, maximum)) {
        return false;
    }
    m_minimum = minimum;
    m_maximum = maximum;
    if (apply) {
        FitWindowSize();
    }
    return true;
}

bool cdxCSizingDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!m_bAttached || m_hWnd == nullptr) {
        return CDialog::OnMessage(message, wParam, lParam, result);
    }
    switch (message) {
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) {
                Reposition();
            }
            break;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            const TrackingLimits limits = TrackingLimitsFor(m_minimum, m_maximum, m_flags);
            info->ptMinTrackSize = {limits.minimum.width, limits.minimum.height};
            info->ptMaxTrackSize = {limits.maximum.width, limits.maximum.height};
            result = 0;
            return true;
        }
        default:
            break;
    }
    return CDialog::OnMessage(message, wParam, lParam, result);
}

void cdxCSizingDialog::OnDestroy() {
    Teardown();
    CDialog::OnDestroy();
}

void cdxCSizingDialog::Reposition() {
    RECT window;
    RECT client;
    GetWindowRect(m_hWnd, &window);
    GetClientRect(m_hWnd, &client);
    const Extent growth = LayoutGrowth(BoxOf(window), BoxOf(client), m_initialClient, m_minimum);
    for (const Entry& entry : m_entries) {
        if (!IsWindow(entry.control)) {
            continue;  // a control destroyed meanwhile is skipped
        }
        const Box placed = PlaceControl(entry.initial, entry.percents, growth);
        SetWindowPos(entry.control, nullptr, placed.left, placed.top, placed.Width(),
                     placed.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER);
    }
    if (::IsWindowVisible(m_hWnd)) {
        RedrawWindow(m_hWnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

bool cdxCSizingDialog::FitWindowSize() {
    RECT window;
    GetWindowRect(m_hWnd, &window);
    const Extent change =
        FitChange({window.right - window.left, window.bottom - window.top}, m_minimum, m_maximum);
    if (change.width == 0 && change.height == 0) {
        return false;
    }
    return StretchWindow(change);
}

bool cdxCSizingDialog::StretchWindow(Extent change) {
    if (IsIconic(m_hWnd) || IsZoomed(m_hWnd)) {
        // The normal position changes; the window stays minimised or maximised.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (!GetWindowPlacement(m_hWnd, &placement)) {
            return false;
        }
        const auto stretched = StretchBox(BoxOf(placement.rcNormalPosition), change);
        if (!stretched) {
            return false;
        }
        placement.rcNormalPosition = {stretched->left, stretched->top, stretched->right,
                                      stretched->bottom};
        return SetWindowPlacement(m_hWnd, &placement) != FALSE;
    }
    // A plain SetWindowPos: unlike a placement, it does not show a window that is still hidden.
    const auto stretched = StretchBox(PlacementOf(m_hWnd), change);
    if (!stretched) {
        return false;
    }
    return SetWindowPos(m_hWnd, nullptr, stretched->left, stretched->top, stretched->Width(),
                        stretched->Height(), SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

void cdxCSizingDialog::Teardown() {
    m_entries.clear();
    m_grip.Destroy();
    m_bAttached = false;
}

}  // namespace quorlet::ui
