#pragma once

#include <QRect>
#include <QSize>

// Where a window's frame may stand on its screen.
namespace windowplacement {

// The frame `wanted` moved, and shrunk where it must be, into the screen's free `area`: no
// wider or taller than the area, title bar included. A frame whose `minimum` size is larger
// than the area stands at the area's top left corner, so that its title bar can be reached.
QRect fitFrame(const QRect& wanted, const QRect& area, const QSize& minimum);

} // namespace windowplacement
