#include "saver/toolkit/qt/qt_picture.h"

#include <QByteArray>
#include <QPixmap>

namespace toolkit::qt {
namespace {

unsigned ReadU16(std::span<const unsigned char> data, size_t at) {
  return static_cast<unsigned>(data[at] | data[at + 1] << 8);
}

QImage Decode(std::span<const unsigned char> data, const char* format = nullptr) {
  if (data.empty()) return QImage();
  return QImage::fromData(QByteArrayView(reinterpret_cast<const char*>(data.data()),
                                         static_cast<qsizetype>(data.size())),
                          format);
}

}  // namespace

QtPicture::QtPicture(QImage image)
    : image_(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)),
      pixels_(image_.width(), image_.height()) {
  // Premultiplied pixels are the colour over black already.
  for (int y = 0; y < image_.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
    for (int x = 0; x < image_.width(); ++x) pixels_.At(x, y) = row[x] & 0xFFFFFF;
  }
}

const QCursor& QtCursor::Shape() const {
  if (!cursor_) cursor_ = QCursor(QPixmap::fromImage(image_), hotSpot_.x(), hotSpot_.y());
  return *cursor_;
}

PictureRef DecodePicture(std::span<const unsigned char> data) {
  QImage image = Decode(data);
  if (image.isNull()) return nullptr;
  return std::make_shared<QtPicture>(std::move(image));
}

std::optional<QPoint> CursorFileHotSpot(std::span<const unsigned char> data) {
  // ICONDIR (reserved 0, type 2 for cursors, count) and the first
  // 16-byte entry, whose planes and bit-count words hold the hot spot.
  if (data.size() < 6 + 16 || ReadU16(data, 0) != 0 || ReadU16(data, 2) != 2 ||
      ReadU16(data, 4) == 0) {
    return std::nullopt;
  }
  return QPoint(static_cast<int>(ReadU16(data, 6 + 4)), static_cast<int>(ReadU16(data, 6 + 6)));
}

CursorRef DecodeCursor(std::span<const unsigned char> data) {
  std::optional<QPoint> hotSpot = CursorFileHotSpot(data);
  if (!hotSpot) return nullptr;
  QImage image = Decode(data, "cur");
  if (image.isNull()) {
    // Read as an icon: the same file but for the type word.
    QByteArray asIcon(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    asIcon[2] = 1;
    image = QImage::fromData(asIcon, "ico");
  }
  if (image.isNull()) return nullptr;
  return std::make_shared<QtCursor>(image.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                                    *hotSpot);
}

}  // namespace toolkit::qt
