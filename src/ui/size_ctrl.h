// cdxCSizeCtrl: the size grip of a resizable dialog. A child scroll bar in size-box style, so
// that the system drags the dialog's corner with it; it paints the system's size-grip picture
// itself, from one image list that every grip of the process shares.
#pragma once

#include <windows.h>

#include "ui/subclass_wnd.h"

namespace quorlet::ui {

class cdxCSizeCtrl : public CSubclassWnd {
public:
    cdxCSizeCtrl() = default;
    ~cdxCSizeCtrl() override;

    // Creates the grip in the bottom-right corner of the dialog's client area, in the system's
    // size-box dimensions, shown. False when the window cannot be created.
    bool Create(HWND dialog, int id);
    // Destroys the grip's window (the dialog's destruction does it otherwise).
    void Destroy();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
};

}  // namespace quorlet::ui
