#include "base/text_fit.h"

namespace quorlet {

Box FitBoxToText(Box box, int width, int height, HorizontalAlign align, bool centreVertically) {
    if (centreVertically) {
        const int cut = ((box.bottom - box.top) - height) / 2;
        box.top += cut;
        box.bottom = box.top + height;
    } else {
        box.bottom = box.top + height;
    }
    switch (align) {
        case HorizontalAlign::Centre: {
            const int cut = ((box.right - box.left) - width) / 2;
            box.left += cut;
            box.right = box.left + width;
            break;
        }
        case HorizontalAlign::Right:
            box.left = box.right - width;
            break;
        case HorizontalAlign::Left:
            box.right = box.left + width;
            break;
    }
    return box;
}

}  // namespace quorlet
