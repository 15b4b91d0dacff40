#pragma once
// The windowless rectangle outline: one pixel on the edge of its bounds.
#include "saver/toolkit/qt/qt_windowless.h"

namespace toolkit::qt {

class QtShape final : public Windowless<Shape> {
 public:
  explicit QtShape(ContainerCore& container) : Windowless<Shape>(container) {}

  void SetBorderColour(Colour colour) override;
  void Paint(QPainter& painter) const override;

 private:
  Colour border_ = 0;
};

}  // namespace toolkit::qt
