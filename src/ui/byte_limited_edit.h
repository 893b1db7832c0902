// CByteLimitedEdit: an edit control that holds at most a number of GBK bytes, the unit in which
// the program stores its texts (a Chinese character takes two). The system's own limit counts
// characters, which would let a Chinese text past what the store can read back. A change that
// would go over the limit is refused with a beep, as the system refuses one past its own limit;
// text set by the program is cut to the limit at a character boundary.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "ui/subclass_wnd.h"

namespace quorlet::ui {

class CByteLimitedEdit : public CSubclassWnd {
public:
    // Takes over the edit control `id` of the dialog.
    bool Attach(HWND dialog, int id, std::size_t maxBytes);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::size_t m_maxBytes = 0;
};

}  // namespace quorlet::ui
