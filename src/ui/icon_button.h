// CIconButton: a push button with an icon beside or above its text and its own colours; flat
// with hover tracking, or a standard 3-D button.
#pragma once

#include <windows.h>

#include "ui/subclass_wnd.h"

namespace quorlet::ui {

class CIconButton : public CSubclassWnd {
public:
    CIconButton();
    ~CIconButton() override;

    // Icon resources drawn while hovered or pressed (in) and otherwise (out; 0 = the same),
    // placed as width x height.
    void SetIcon(int iconIn, int iconOut, int width, int height);
    void SetActiveFgColor(COLORREF colour, bool repaint);
    void SetDefaultInactiveBgColor(bool repaint);
    void SetDefaultInactiveFgColor(bool repaint);
    void SetDefaultActiveBgColor(bool repaint);
    void SetDefaultActiveFgColor(bool repaint);

    int m_nAlign = 0;  // 0 icon left of the text, 1 icon above it
    bool m_bShowText = true;
    bool m_bDrawBorder = true;
    bool m_bIsFlat = true;
    bool m_bFlatFocus = false;
    HCURSOR m_hCursor = nullptr;

    bool IsHovering() const { return m_bHover; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnHooked() override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);
    void Repaint(bool repaint);
    void FreeIcons();

    bool m_bHover = false;
    HICON m_hIconIn = nullptr;
    HICON m_hIconOut = nullptr;
    BYTE m_cyIcon = 0;
    BYTE m_cxIcon = 0;
    COLORREF m_crInactiveBg;
    COLORREF m_crInactiveFg;
    COLORREF m_crActiveBg;
    COLORREF m_crActiveFg;
};

}  // namespace quorlet::ui
