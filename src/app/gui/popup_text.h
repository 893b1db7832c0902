// CPopupText: a small tip window that shows one line of text in the tooltip colours, sized to
// its text. The list-cell tip of the preview shows the full text of a cut-off cell in it.
#pragma once

#include <windows.h>

#include <string>

namespace quorlet {

class CPopupText {
public:
    // Style bits.
    static constexpr UINT kJustifyRight = 0x0001;  // resizing keeps the right edge
    static constexpr UINT kTransparent = 0x0002;   // the mouse acts on the window below

    CPopupText() = default;
    ~CPopupText();
    CPopupText(const CPopupText&) = delete;
    CPopupText& operator=(const CPopupText&) = delete;

    // A hidden popup of zero size at point (screen coordinates).
    bool Create(POINT point, HWND parent, UINT style = 0, UINT id = 0);
    // Sets the text and fits the window to it.
    void SetWindowText(const std::string& text);
    // Shows the window after delay milliseconds, at once with 0.
    void ShowDelayed(UINT milliseconds);
    void Cancel();

    HWND m_hWnd = nullptr;
    SIZE m_szMargins{4, 4};

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HFONT ParentFont() const;
    void Paint();

    HWND m_parent = nullptr;
    UINT m_style = 0;
};

}  // namespace quorlet
