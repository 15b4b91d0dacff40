#pragma once
// The retained drawing surface of a form, picture box or user control: an
// image the backend owns, drawn by the raster functions (GDI's results) and
// copied to the screen whenever the window system asks.
#include <QRect>
#include <functional>

#include "saver/toolkit/toolkit.h"

class QPainter;

namespace toolkit::qt {

class RetainedSurface final : public Surface {
 public:
  // `invalidate` asks for a repaint of the window that shows the surface.
  explicit RetainedSurface(std::function<void()> invalidate);

  Size PixelSize() const override { return client_; }
  void Clear() override;
  void Line(Point from, Point to, Colour colour) override;
  void GradientFillRectV(std::span<const GradientVertex> vertices, GradientRect rect) override;
  void PaintPicture(const Picture& picture, const PixelRect& destination,
                    const PixelRect& source) override;
  void Refresh() override;

  // A new back colour clears the image to it.
  void SetBackColour(Colour colour);
  Colour BackColour() const { return back_; }
  // The client area; the image grows with it and never shrinks, so what was
  // drawn survives a window made smaller and larger again.
  void SetClientSize(Size size);
  // Copies the image's part of `area` (window coordinates) to the painter.
  void PaintTo(QPainter& painter, const QRect& area) const;
  const raster::Image& Pixels() const { return image_; }

 private:
  void Changed();

  std::function<void()> invalidate_;
  raster::Image image_;
  Size client_;
  Colour back_ = MakeColour(240, 240, 240);
};

}  // namespace toolkit::qt
