#include "ui/link_label.h"

#include <commctrl.h>

#include "base/text_fit.h"
#include "platform/link_opener.h"
#include "platform/win32/wide_text.h"
#include "ui/window.h"

namespace quorlet::ui {
namespace {

// The hand cursor of the old help viewer; current Windows no longer ships it.
constexpr int kHelpViewerHandCursor = 106;
constexpr UINT_PTR kToolId = 1;

bool InClientArea(HWND window, LPARAM lParam) {
    RECT client;
    GetClientRect(window, &client);
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return PtInRect(&client, point) != FALSE;
}

}  // namespace

CLinkLabel::CLinkLabel(Shell& shell, Registry& registry, Prompter& prompter)
    : m_shell(shell), m_registry(registry), m_prompter(prompter) {}

CLinkLabel::~CLinkLabel() {
    ReleaseResources();
}

bool CLinkLabel::Attach(HWND dialog, int id) {
    return SubclassDlgItem(id, dialog);
}

void CLinkLabel::OnHooked() {
    // A static reports clicks and mouse moves only with the notify style.
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, GetWindowLongPtrW(m_hWnd, GWL_STYLE) | SS_NOTIFY);
    const std::string text = GetText(m_hWnd);
    if (m_strURL.empty()) {
        m_strURL = text;
    } else if (text.empty()) {
        SetText(m_hWnd, m_strURL);
    }
    MakeFont();
    FitToText();
    LoadHandCursor();
    MakeTooltip();
    m_parentHook.HookWindow(GetParent(m_hWnd));
}

void CLinkLabel::SetURL(const std::string& url) {
    m_strURL = url;
    if (m_hWnd != nullptr) {
        FitToText();
        UpdateTooltip();
    }
}

void CLinkLabel::SetVisited(bool visited) {
    m_bVisited = visited;
    if (m_hWnd != nullptr) {
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void CLinkLabel::SetUnderline(bool underline) {
    m_bUnderline = underline;
    if (m_hWnd != nullptr) {
        MakeFont();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

COLORREF CLinkLabel::CurrentTextColour() const {
    if (m_bOverControl) {
        return m_crHoverColour;
    }
    return m_bVisited ? m_crVisitedColour : m_crLinkColour;
}

int CLinkLabel::GotoURL(const std::string& url) {
    return GotoUrl(m_shell, m_registry, url);
}

void CLinkLabel::ReportError(int code) {
    m_prompter.Show(HyperlinkErrorText(code), "", MessageIcon::Exclamation, MessageButtons::Ok);
}

void CLinkLabel::OnClicked() {
    const int result = GotoURL(m_strURL);
    if (result > kShellFailedAtMost) {
        SetVisited(true);
    } else {
        MessageBeep(MB_ICONEXCLAMATION);
        ReportError(result);
    }
}

LRESULT CLinkLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            if (!m_bOverControl) {
                m_bOverControl = true;
                RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                SetCapture(m_hWnd);
            } else if (!InClientArea(m_hWnd, lParam)) {
                m_bOverControl = false;
                ReleaseCapture();
                RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            }
            break;
        case WM_CAPTURECHANGED:
            // Another window took the mouse (a message box, the browser): the hover is over.
            if (m_bOverControl && reinterpret_cast<HWND>(lParam) != m_hWnd) {
                m_bOverControl = false;
                InvalidateRect(m_hWnd, nullptr, TRUE);
            }
            break;
        case WM_LBUTTONUP:
            if (InClientArea(m_hWnd, lParam)) {
                const LRESULT result = Default();
                OnClicked();
                return result;
            }
            break;
        case WM_SETCURSOR:
            if (m_hLinkCursor != nullptr) {
                SetCursor(m_hLinkCursor);
                return TRUE;
            }
            break;
        case WM_NCDESTROY: {
            const LRESULT result = Default();
            ReleaseResources();
            return result;
        }
        default:
            break;
    }
    return Default();
}

LRESULT CLinkLabel::ParentHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == m_label.m_hWnd) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, m_label.CurrentTextColour());
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    return Default();
}

void CLinkLabel::MakeFont() {
    HFONT base = reinterpret_cast<HFONT>(SendMessageW(GetParent(m_hWnd), WM_GETFONT, 0, 0));
    if (base == nullptr) {
        base = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    LOGFONTW font{};
    GetObjectW(base, sizeof font, &font);
    font.lfUnderline = m_bUnderline ? TRUE : FALSE;
    const HFONT made = CreateFontIndirectW(&font);
    if (made == nullptr) {
        return;
    }
    SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
    if (m_font != nullptr) {
        DeleteObject(m_font);  // the label has let go of it
    }
    m_font = made;
}

void CLinkLabel::FitToText() {
    if (!m_bAdjustToText || m_hWnd == nullptr) {
        return;
    }
    const std::wstring text = win32::ToWide(GetText(m_hWnd));
    SIZE extent{};
    const HDC dc = GetDC(m_hWnd);
    const HGDIOBJ old = SelectObject(dc, m_font != nullptr ? m_font : GetStockObject(SYSTEM_FONT));
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);

    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    const HWND parent = GetParent(m_hWnd);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    const LONG_PTR type = style & SS_TYPEMASK;
    const HorizontalAlign align = type == SS_CENTER  ? HorizontalAlign::Centre
                                  : type == SS_RIGHT ? HorizontalAlign::Right
                                                     : HorizontalAlign::Left;
    const Box fitted = FitBoxToText({rect.left, rect.top, rect.right, rect.bottom}, extent.cx,
                                    extent.cy, align, (style & SS_CENTERIMAGE) != 0);
    SetWindowPos(m_hWnd, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                 fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_toolTip != nullptr) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWnd;
        tool.uId = kToolId;
        GetClientRect(m_hWnd, &tool.rect);
        SendMessageW(m_toolTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CLinkLabel::LoadHandCursor() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        const std::wstring viewer = std::wstring(folder) + L"\\winhlp32.exe";
        if (const HMODULE module =
                LoadLibraryExW(viewer.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            if (const HCURSOR hand = LoadCursorW(module, MAKEINTRESOURCEW(kHelpViewerHandCursor))) {
                // The module's cursor goes with the module: keep a copy of our own.
                m_hLinkCursor = CopyCursor(hand);
                m_ownsCursor = m_hLinkCursor != nullptr;
            }
            FreeLibrary(module);
        }
    }
    if (m_hLinkCursor == nullptr) {
        m_hLinkCursor = LoadCursorW(nullptr, IDC_HAND);  // shared: never destroyed
    }
}

void CLinkLabel::MakeTooltip() {
    m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                GetParent(m_hWnd), nullptr, ResourceInstance(), nullptr);
    if (m_toolTip == nullptr) {
        return;
    }
    std::wstring url = win32::ToWide(m_strURL);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;  // the tooltip sees the label's mouse messages itself
    tool.hwnd = m_hWnd;
    tool.uId = kToolId;
    GetClientRect(m_hWnd, &tool.rect);
    tool.lpszText = url.data();
    SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CLinkLabel::UpdateTooltip() {
    if (m_toolTip == nullptr) {
        return;
    }
    std::wstring url = win32::ToWide(m_strURL);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
    tool.uId = kToolId;
    tool.lpszText = url.data();
    SendMessageW(m_toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CLinkLabel::ReleaseResources() {
    if (m_toolTip != nullptr && IsWindow(m_toolTip)) {
        DestroyWindow(m_toolTip);
    }
    m_toolTip = nullptr;
    if (m_font != nullptr) {
        DeleteObject(m_font);
        m_font = nullptr;
    }
    if (m_ownsCursor && m_hLinkCursor != nullptr) {
        DestroyCursor(m_hLinkCursor);
    }
    m_hLinkCursor = nullptr;
    m_ownsCursor = false;
}

}  // namespace quorlet::ui
