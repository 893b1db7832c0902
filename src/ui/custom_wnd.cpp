#include "ui/custom_wnd.h"

#include <optional>

#include "ui/exception_boundary.h"

namespace quorlet::ui {
namespace {

constexpr wchar_t kWindowMark[] = L"Quorlet.Window";

bool RegisterOnce(const wchar_t* className, WNDPROC procedure) {
    WNDCLASSW existing{};
    if (GetClassInfoW(ResourceInstance(), className, &existing) != FALSE) {
        return existing.lpfnWndProc == procedure;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ResourceInstance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);  // a shared cursor: never destroyed
    windowClass.lpszClassName = className;
    return RegisterClassW(&windowClass) != 0;
}

}  // namespace

CCustomWnd::~CCustomWnd() {
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) {
        DestroyWindow(m_hWnd);  // its WM_NCDESTROY removes the mark and forgets the handle
    }
}

CCustomWnd* CCustomWnd::FromHandle(HWND window) {
    return window != nullptr ? static_cast<CCustomWnd*>(GetPropW(window, kWindowMark)) : nullptr;
}

bool CCustomWnd::CreateEx(DWORD exStyle, const wchar_t* className, DWORD style, const RECT& area,
                          HWND parent) {
    if (!RegisterOnce(className, &CCustomWnd::StaticProc)) {
        return false;
    }
    const HWND window =
        CreateWindowExW(exStyle, className, L"", style, area.left, area.top, area.right - area.left,
                        area.bottom - area.top, parent, nullptr, ResourceInstance(), this);
    return window != nullptr;
}

LRESULT CCustomWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK CCustomWnd::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CCustomWnd* object = nullptr;
    if (message == WM_NCCREATE) {
        object = static_cast<CCustomWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetPropW(window, kWindowMark, object);
        object->m_hWnd = window;
    } else {
        object = FromHandle(window);
    }
    if (object == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(window, kWindowMark);
        object->m_hWnd = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // A handler that fails leaves the message to the default handling.
    const std::optional<LRESULT> handled = RunGuarded(
        L"a window handler", std::optional<LRESULT>{},
        [&] { return std::optional<LRESULT>(object->WindowProc(message, wParam, lParam)); });
    return handled ? *handled : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quorlet::ui
