// Gives a list box a horizontal scroll extent wide enough for its longest item.
#pragma once

#include <windows.h>

namespace quorlet::ui {

// Each item measured in the dialog's font, plus 3 pixels; 0 for an empty list.
void SetListBoxExtent(HWND dialog, int listBoxId);

}  // namespace quorlet::ui
