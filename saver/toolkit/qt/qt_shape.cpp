#include "saver/toolkit/qt/qt_shape.h"

#include <QPainter>

#include "saver/toolkit/qt/qt_text.h"

namespace toolkit::qt {

void QtShape::SetBorderColour(Colour colour) {
  border_ = colour;
  Repaint(Rect());
}

void QtShape::Paint(QPainter& painter) const {
  const QRect box = Rect();
  if (box.isEmpty()) return;
  painter.save();
  painter.setPen(QPen(ToQColor(border_), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(box.adjusted(0, 0, -1, -1));
  painter.restore();
}

}  // namespace toolkit::qt
