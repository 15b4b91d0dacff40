#include "saver/toolkit/qt/qt_picture_box.h"

namespace toolkit::qt {

QtPictureBox::QtPictureBox(QWidget* parent) {
  if (parent == nullptr) return;
  auto* widget = new ContainerWidget(core_, parent);
  widget->setFocusPolicy(Qt::NoFocus);
  core_.Attach(widget);
  Adopt(widget);
}

}  // namespace toolkit::qt
