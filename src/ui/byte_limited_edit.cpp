#include "ui/byte_limited_edit.h"

#include <commctrl.h>

#include "base/gbk_text.h"
#include "platform/win32/wide_text.h"
#include "ui/window.h"

namespace quorlet::ui {
namespace {

std::wstring WideText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

bool CByteLimitedEdit::Attach(HWND dialog, int id, std::size_t maxBytes) {
    m_maxBytes = maxBytes;
    if (!SubclassDlgItem(id, dialog)) {
        return false;
    }
    // A character is at least one byte, so the system's limit in characters is a first bound.
    SendMessageW(m_hWnd, EM_LIMITTEXT, maxBytes, 0);
    SetText(m_hWnd, GetText(m_hWnd));  // a text already there is held to the limit too
    return true;
}

LRESULT CByteLimitedEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT: {
            if (lParam == 0) {
                break;
            }
            const std::string gbk = win32::FromWide(reinterpret_cast<const wchar_t*>(lParam));
            if (gbk.size() <= m_maxBytes) {
                break;
            }
            const std::wstring cut = win32::ToWide(gbk::TruncateChars(gbk, m_maxBytes));
            return DefSubclassProc(m_hWnd, message, wParam, reinterpret_cast<LPARAM>(cut.c_str()));
        }
        case WM_CHAR:
        case WM_IME_CHAR:
        case WM_PASTE:
        case EM_REPLACESEL:
        case WM_UNDO:
        case EM_UNDO: {
            const std::wstring before = WideText(m_hWnd);
            DWORD start = 0, end = 0;
            SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            const LRESULT result = Default();
            if (win32::FromWide(WideText(m_hWnd)).size() > m_maxBytes) {
                // Put back what was there; the program's own WM_SETTEXT would pass this hook.
                DefSubclassProc(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(before.c_str()));
                SendMessageW(m_hWnd, EM_SETSEL, start, end);
                MessageBeep(MB_OK);
            }
            return result;
        }
        default:
            break;
    }
    return Default();
}

}  // namespace quorlet::ui
