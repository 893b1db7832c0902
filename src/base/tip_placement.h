// Where the list-cell tip goes: over the cell's text, a little larger than it, and wholly inside
// the area it may use (the work area of the monitor the list is on).
#pragma once

#include "base/geometry.h"

namespace quorlet {

// Whether a cell's text is seen whole: narrower than its column less 10 pixels.
bool IsCellTextFullyVisible(int textWidth, int columnWidth);

// The tip's box for a text box (screen coordinates, the text's measured size at the cell's
// label): 3 pixels more on the left, 3 on the right and 5 below; then moved, never resized, so
// that it stays inside `area` (the left and top edges win when it is larger than the area).
Box PlaceTip(const Box& text, const Box& area);

}  // namespace quorlet
