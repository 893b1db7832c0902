// The arithmetic of the resizable dialogs: how far each registered control's edges move when the
// dialog grows, the limits of the window's size, and stretching a window about its centre.
// Every division truncates toward zero, as the layout always has.
#pragma once

#include <cstdint>
#include <optional>

#include "base/geometry.h"

namespace quorlet {

// Percentages of the growth by which each edge of a control moves (0 stays, 100 moves fully).
struct EdgePercents {
    std::uint8_t left = 0, right = 0, top = 0, bottom = 0;
    bool operator==(const EdgePercents&) const = default;
};

// Per axis: Fixed (0, 0), Stretch (0, 100), Follow (100, 100), Centre (50, 50); any other
// value counts as Fixed.
enum class SizeMode { Fixed = 0, Stretch = 1, Follow = 2, Centre = 3 };
EdgePercents PercentsByMode(SizeMode horizontal, SizeMode vertical);

// The growth of the client area for the current window and client rectangles; a window smaller
// than the minimum is laid out as if it had the minimum size.
Extent LayoutGrowth(const Box& window, const Box& client, Extent initialClient, Extent minimum);

// A control's rectangle after the dialog grew by `growth`.
Box PlaceControl(const Box& initial, EdgePercents percents, Extent growth);

// Minimum and maximum sizes: refused when a maximum is below its minimum or is zero.
bool ValidSizeLimits(Extent minimum, Extent maximum);

// The size change that brings a window into its limits (zero per axis when it is inside them).
Extent FitChange(Extent window, Extent minimum, Extent maximum);

// The window grown by `change` about its centre: the left and top edges move out by half the
// change, the right and bottom by the other half rounded up. nullopt when the result is empty.
std::optional<Box> StretchBox(const Box& window, Extent change);

// The change that scales a window by `percent` of its size.
Extent ScaleChange(Extent window, int percent);

// The tracking limits the system asks for: a dimension that may not change (bit 0 of flags for
// the width, bit 1 for the height) keeps its minimum as maximum.
struct TrackingLimits {
    Extent minimum, maximum;
};
TrackingLimits TrackingLimitsFor(Extent minimum, Extent maximum, unsigned flags);

}  // namespace quorlet
