#include "app/windowplacement.h"

#include <algorithm>

namespace windowplacement {

QRect fitFrame(const QRect& wanted, const QRect& area, const QSize& minimum) {
    const QSize size = wanted.size().boundedTo(area.size()).expandedTo(minimum);
    // Beyond the right or bottom edge it is moved back; never beyond the left or top edge.
    const int x = std::max(area.left(), std::min(wanted.left(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(wanted.top(), area.bottom() + 1 - size.height()));
    return {QPoint(x, y), size};
}

} // namespace windowplacement
