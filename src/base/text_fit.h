// Where a text label goes when it is shrunk to fit its text, as plain arithmetic on rectangles.
#pragma once

#include "base/geometry.h"

namespace quorlet {

enum class HorizontalAlign { Left, Centre, Right };

// The label's box shrunk to a text of width x height: vertically centred when centreVertically
// (equal cuts at top and bottom), otherwise kept at its top; horizontally by its alignment
// (equal cuts on both sides, the right edge kept, or the left edge kept).
Box FitBoxToText(Box box, int width, int height, HorizontalAlign align, bool centreVertically);

}  // namespace quorlet
