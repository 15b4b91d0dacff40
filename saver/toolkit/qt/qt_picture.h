#pragma once
// Pictures and pointer shapes decoded from embedded files.
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <optional>
#include <span>

#include "saver/toolkit/toolkit.h"

namespace toolkit::qt {

// Kept twice: as a QImage for the windowless image control, and as the
// raster image the surface's copy functions read (transparent parts black).
class QtPicture final : public Picture {
 public:
  explicit QtPicture(QImage image);
  Size PixelSize() const override { return Size{image_.width(), image_.height()}; }
  const QImage& Image() const { return image_; }
  const raster::Image& Pixels() const { return pixels_; }

 private:
  QImage image_;
  raster::Image pixels_;
};

class QtCursor final : public Cursor {
 public:
  QtCursor(QImage image, QPoint hotSpot) : image_(std::move(image)), hotSpot_(hotSpot) {}
  QPoint HotSpot() const { return hotSpot_; }
  // Made on first use: a QCursor needs the GUI application.
  const QCursor& Shape() const;

 private:
  QImage image_;
  QPoint hotSpot_;
  mutable std::optional<QCursor> cursor_;
};

// BMP, JPEG, ICO (any format Qt reads); null when undecodable.
PictureRef DecodePicture(std::span<const unsigned char> data);

// A .CUR file: the first image and its hot spot; null when it is not one.
CursorRef DecodeCursor(std::span<const unsigned char> data);

// The hot spot of the first entry of a .CUR file's directory.
std::optional<QPoint> CursorFileHotSpot(std::span<const unsigned char> data);

}  // namespace toolkit::qt
