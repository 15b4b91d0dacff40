#pragma once
// The windowless image: its picture at natural size from the top-left,
// cut to the control's bounds.
#include "saver/toolkit/qt/qt_windowless.h"

namespace toolkit::qt {

class QtImage final : public Windowless<Image> {
 public:
  explicit QtImage(ContainerCore& container) : Windowless<Image>(container) {}

  void SetPicture(PictureRef picture) override;
  PictureRef GetPicture() const override { return picture_; }
  MouseHandlers& Mouse() override { return mouse_; }

  void Paint(QPainter& painter) const override;
  MouseHandlers* Handlers() override { return &mouse_; }

 private:
  PictureRef picture_;
  MouseHandlers mouse_;
};

}  // namespace toolkit::qt
