#include "base/tip_placement.h"

namespace quorlet {

bool IsCellTextFullyVisible(int textWidth, int columnWidth) {
    return textWidth < columnWidth - 10;
}

Box PlaceTip(const Box& text, const Box& area) {
    Box tip{text.left - 3, text.top, text.right + 3, text.bottom + 5};
    const auto shift = [](int& low, int& high, int areaLow, int areaHigh) {
        int by = 0;
        if (high > areaHigh) {
            by = areaHigh - high;
        }
        if (low + by < areaLow) {
            by = areaLow - low;
        }
        low += by;
        high += by;
    };
    shift(tip.left, tip.right, area.left, area.right);
    shift(tip.top, tip.bottom, area.top, area.bottom);
    return tip;
}

}  // namespace quorlet
