#include "saver/toolkit/qt/qt_windowless.h"

#include "saver/toolkit/qt/qt_container.h"

namespace toolkit::qt {

void WindowlessControl::Place(const PixelRect& bounds) {
  QRect before = Rect();
  bounds_ = bounds;
  Repaint(before);
}

void WindowlessControl::Show(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Repaint(Rect());
}

void WindowlessControl::Enable(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Repaint(Rect());
}

void WindowlessControl::Repaint(const QRect& before) {
  // One pixel more: the greyed text of a disabled label lies one further.
  container_.Invalidate(before.adjusted(0, 0, 1, 1) | Rect().adjusted(0, 0, 1, 1));
}

int WindowlessControl::Dpi() const { return container_.Dpi(); }

}  // namespace toolkit::qt
