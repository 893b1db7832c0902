// CPopupText: a small tip window that shows one line of text in the tooltip colours, sized to
// its text. The list-cell tip of the preview shows the full text of a cut-off cell in it.
#pragma once

#include <windows.h>

#include <string>

#include "ui/custom_wnd.h"

namespace quorlet::ui {

class CPopupText : public CCustomWnd {
public:
    // Style bits.
    static constexpr UINT kJustifyRight = 0x0001;  // resizing keeps the right edge
    static constexpr UINT kTransparent = 0x0002;   // the mouse acts on the window below

    // A hidden popup of zero size at point (screen coordinates).
    bool Create(POINT point, HWND parent, UINT style = 0, UINT id = 0);
    // Sets the text and fits the window to it.
    void SetWindowText(const std::string& text);
    // Shows the window after delay milliseconds, at once with 0.
    void ShowDelayed(UINT milliseconds);
    void Cancel();

    SIZE m_szMargins{4, 4};

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HFONT ParentFont() const;
    void Paint();

    HWND m_parent = nullptr;
    UINT m_style = 0;
};

}  // namespace quorlet::ui
