// Rectangles and sizes in pixels, as plain values for the layout arithmetic that is tested
// without windows.
#pragma once

namespace quorlet {

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Box&) const = default;
};

struct Extent {
    int width = 0, height = 0;
    bool operator==(const Extent&) const = default;
};

}  // namespace quorlet
