// CHoverButton: the flat push button of the program's dialogs and of the main window. It draws
// a thin frame, turns its text blue while the mouse is over it, and can paint a slice of a
// background picture (the main window's skin) under its text.
#pragma once

#include <windows.h>

#include <string>

#include "ui/subclass_wnd.h"

namespace quorlet::ui {

class CHoverButton : public CSubclassWnd {
public:
    CHoverButton() = default;
    ~CHoverButton() override;

    // 0: no background picture.
    void SetBackgroundBitmap(int resourceId) { m_nBitmap = resourceId; }
    void SetBackgroundSlice(int x, int y, int width, int height);
    void SetBackgroundSize(int width, int height);
    // Loads the picture (the resource set above, or with none the file) and keeps this button's
    // slice of it. Releases dc, which the caller got for this button. False when the file
    // cannot be loaded; the button then keeps its plain face.
    bool LoadBackground(HDC dc, const std::wstring& fileName);

    bool IsHovering() const { return m_bHover; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnHooked() override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);

    bool m_bHover = false;
    int m_nBitmap = 0;  // resource id, 0 none, 1 after a picture was loaded from a file
    int m_nSliceX = 0;
    int m_nSliceY = 0;
    int m_nSliceWidth = 0;
    int m_nSliceHeight = 0;
    HDC m_sliceDC = nullptr;
    HBITMAP m_sliceBitmap = nullptr;
    HGDIOBJ m_sliceOld = nullptr;
    bool m_bSliceCreated = false;
    int m_nStretchWidth = 0;
    int m_nStretchHeight = 0;
};

// Draws a rectangle's frame in two colours: top and left, then bottom and right.
void Draw3dRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);

// A single line of text centred in area, measured in the device context's font.
RECT CentredText(HDC dc, const wchar_t* text, int length, const RECT& area);
// Draws button text at place: embossed when disabled, plainly otherwise; "&" marks a mnemonic.
void DrawButtonText(HDC dc, const wchar_t* text, int length, const RECT& place, bool disabled);

// Makes a button owner-drawn (through the button-style message) and redraws it.
void MakeOwnerDrawn(HWND button);

}  // namespace quorlet::ui
