#include "app/edge_line.h"

#include <QPainter>
#include <QRect>

namespace app {

void PaintEdgeLine(QPainter& painter, int width, int height) {
  if (width <= 0 || height <= 0) return;
  // Filled rectangles rather than a pen, so the pixels covered do not depend on the pen's cap
  // and end-point rules.
  painter.fillRect(QRect(width - 1, 0, 1, height - 1), kEdgeLineColour);  // right, down
  painter.fillRect(QRect(1, height - 1, width - 1, 1), kEdgeLineColour);  // bottom, leftwards
  painter.fillRect(QRect(0, 1, 1, height - 1), kEdgeLineColour);          // left, up
}

}  // namespace app
