// CListTip: the whole text of a list-view cell that does not fit its column, shown over the cell
// in the shared pop-up text window, kept inside the monitor the list is on; a click hides it.
#pragma once

#include <windows.h>

#include <string>

#include "ui/popup_text.h"
#include "ui/subclass_wnd.h"

namespace quorlet::ui {

class CListTip : public CSubclassWnd {
public:
    // Hooks the list and creates the shared pop-up window when it does not exist yet.
    bool Attach(HWND list);

    // The pop-up window every list tip shares (for the process's life).
    static CPopupText& Popup();

protected:
    struct Hit {
        int item = -1;
        int subItem = -1;
        RECT rect{};  // the text's measured size at the cell's label (list client coordinates)
        std::string text;
    };

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The cell with text under point; item -1 for none.
    virtual Hit HitTest(POINT point) const;
    virtual bool IsFullyVisible(const RECT& rect, int subItem) const;
    virtual void OnMouseMove(POINT point);

private:
    void Hide();

    int m_nListId = 0;
    int m_nItem = -1;
    int m_nSubItem = -1;
    bool m_bCaptured = false;
};

}  // namespace quorlet::ui
