#include "saver/toolkit/qt/qt_image.h"

#include <QPainter>

#include "saver/toolkit/qt/qt_picture.h"

namespace toolkit::qt {

void QtImage::SetPicture(PictureRef picture) {
  picture_ = std::move(picture);
  Repaint(Rect());
}

void QtImage::Paint(QPainter& painter) const {
  const auto* decoded = dynamic_cast<const QtPicture*>(picture_.get());
  if (decoded == nullptr) return;
  const QRect box = Rect();
  const QRect part = QRect(QPoint(0, 0), box.size()) & decoded->Image().rect();
  if (part.isEmpty()) return;
  painter.drawImage(box.topLeft(), decoded->Image(), part);
}

}  // namespace toolkit::qt
