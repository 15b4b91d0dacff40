#include "saver/toolkit/qt/qt_picture_box.h"

namespace toolkit::qt {

QtPictureBox::QtPictureBox(QWidget* parent) {
  if (parent == nullptr) return;
  auto* widget = new ContainerWidget(core_, parent);
  widget->setFocusPolicy(Qt::NoFocus);
  core_.Attach(widget);
  Adopt(widget);
}

void QtPictureBox::Moved() {
  core_.ClientResized(QSize(std::max(bounds_.width, 0), std::max(bounds_.height, 0)));
}

}  // namespace toolkit::qt
