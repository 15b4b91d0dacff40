#include "saver/toolkit/qt/qt_window_at.h"

#include <QWidget>
#include <vector>

namespace toolkit::qt {
namespace {

// The native windows right below `widget` in the X tree, bottom first: its
// native children, and those of its children that have no window.
void NativeChildren(const QWidget* widget, std::vector<QWidget*>& out) {
  for (QObject* object : widget->children()) {
    auto* child = qobject_cast<QWidget*>(object);
    if (child == nullptr || child->isWindow()) continue;
    if (child->internalWinId() != 0) {
      out.push_back(child);
    } else {
      NativeChildren(child, out);
    }
  }
}

}  // namespace

WindowHandle DeepestNativeWindow(QWidget* window, QPoint screen) {
  // Only an embedded form asks the server where it is.
  const QPoint local = screen - window->mapToGlobal(QPoint(0, 0));
  QWidget* current = window;
  std::vector<QWidget*> children;
  for (;;) {
    children.clear();
    NativeChildren(current, children);
    QWidget* hit = nullptr;
    for (auto it = children.rbegin(); it != children.rend() && hit == nullptr; ++it) {
      QWidget* child = *it;
      if (child->isVisible() && QRect(child->mapTo(window, QPoint(0, 0)), child->size()).contains(local)) hit = child;
    }
    if (hit == nullptr) return static_cast<WindowHandle>(current->internalWinId());
    current = hit;
  }
}

}  // namespace toolkit::qt
