#pragma once
// Qt's mouse events in the seam's terms.
#include <QMouseEvent>

#include "saver/toolkit/toolkit.h"

namespace toolkit::qt {

inline int ButtonBits(Qt::MouseButtons buttons) {
  int bits = 0;
  if (buttons & Qt::LeftButton) bits |= LeftButton;
  if (buttons & Qt::RightButton) bits |= RightButton;
  if (buttons & Qt::MiddleButton) bits |= MiddleButton;
  return bits;
}

inline int ShiftBits(Qt::KeyboardModifiers modifiers) {
  int bits = 0;
  if (modifiers & Qt::ShiftModifier) bits |= ShiftKey;
  if (modifiers & Qt::ControlModifier) bits |= ControlKey;
  if (modifiers & Qt::AltModifier) bits |= AltKey;
  return bits;
}

// A press or release names the button that changed; a move the held ones.
// Positions are whole pixels relative to `origin`.
inline MouseEvent ToMouseEvent(const QMouseEvent& event, QPoint origin = QPoint()) {
  MouseEvent result;
  result.button = event.type() == QEvent::MouseMove ? ButtonBits(event.buttons())
                                                    : ButtonBits(event.button());
  result.shift = ShiftBits(event.modifiers());
  const QPoint at = event.position().toPoint() - origin;
  result.x = at.x();
  result.y = at.y();
  return result;
}

}  // namespace toolkit::qt
