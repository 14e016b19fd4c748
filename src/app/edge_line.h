#pragma once
// The one-pixel gray line along the left, bottom and right edges of the frameless window.
#include <QColor>

class QPainter;

namespace app {

inline const QColor kEdgeLineColour(128, 128, 128);

// Draws the line in window coordinates of a width x height window: column width-1 from the top
// down, the bottom row from right to left, column 0 from the bottom up, each leg without its end
// point, so the top row is left to the title strip except its rightmost pixel. Paint it first:
// the children paint over it.
void PaintEdgeLine(QPainter& painter, int width, int height);

}  // namespace app
