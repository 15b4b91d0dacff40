#include "saver/toolkit/qt/qt_surface.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "saver/toolkit/qt/qt_picture.h"
#include "saver/toolkit/qt/qt_text.h"

namespace toolkit::qt {

RetainedSurface::RetainedSurface(std::function<void()> invalidate)
    : invalidate_(std::move(invalidate)) {}

void RetainedSurface::Clear() {
  std::fill(image_.pixels.begin(), image_.pixels.end(), ToRasterRgb(back_));
  Changed();
}

void RetainedSurface::Line(Point from, Point to, Colour colour) {
  raster::Line(image_, from.x, from.y, to.x, to.y, ToRasterRgb(colour));
  Changed();
}

void RetainedSurface::GradientFillRectV(std::span<const GradientVertex> vertices,
                                        GradientRect rect) {
  raster::GradientFillRectV(image_, vertices.data(), static_cast<int>(vertices.size()), rect);
  Changed();
}

void RetainedSurface::PaintPicture(const Picture& picture, const PixelRect& destination,
                                   const PixelRect& source) {
  const auto* decoded = dynamic_cast<const QtPicture*>(&picture);
  if (decoded == nullptr) return;
  raster::StretchCopy(image_, destination, decoded->Pixels(), source);
  Changed();
}

void RetainedSurface::Refresh() { Changed(); }

void RetainedSurface::SetBackColour(Colour colour) {
  back_ = colour;
  Clear();
}

void RetainedSurface::SetClientSize(Size size) {
  client_ = Size{std::max(size.width, 0), std::max(size.height, 0)};
  if (client_.width <= image_.width && client_.height <= image_.height) return;
  raster::Image grown(std::max(client_.width, image_.width), std::max(client_.height, image_.height),
                      ToRasterRgb(back_));
  for (int y = 0; y < image_.height; ++y) {
    std::copy_n(image_.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image_.width, image_.width,
                grown.pixels.begin() + static_cast<std::ptrdiff_t>(y) * grown.width);
  }
  image_ = std::move(grown);
  Changed();
}

void RetainedSurface::PaintTo(QPainter& painter, const QRect& area) const {
  QRect part = area & QRect(0, 0, image_.width, image_.height);
  if (part.isEmpty()) return;
  // The raster pixels leave the top byte clear; RGB32 wants it set.
  QImage copy(part.size(), QImage::Format_RGB32);
  for (int y = 0; y < part.height(); ++y) {
    const std::uint32_t* from =
        image_.pixels.data() + static_cast<std::ptrdiff_t>(part.y() + y) * image_.width + part.x();
    auto* to = reinterpret_cast<QRgb*>(copy.scanLine(y));
    for (int x = 0; x < part.width(); ++x) to[x] = from[x] | 0xFF000000u;
  }
  painter.drawImage(part.topLeft(), copy);
}

void RetainedSurface::Changed() {
  if (invalidate_) invalidate_();
}

}  // namespace toolkit::qt
