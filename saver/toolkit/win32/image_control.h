#pragma once
// The windowless image and the windowless rectangle outline.
#include "saver/toolkit/win32/windowless_control.h"

namespace toolkit::win32 {

class Win32Image final : public WindowlessControl<Image> {
 public:
  using WindowlessControl::WindowlessControl;

  void SetPicture(PictureRef picture) override;
  PictureRef GetPicture() const override { return picture_; }
  MouseHandlers& Mouse() override { return mouse_; }

  void Draw(HDC dc) const override;
  MouseHandlers* TargetHandlers() override { return enabled_ ? &mouse_ : nullptr; }

 private:
  PictureRef picture_;
  MouseHandlers mouse_;
};

class Win32Shape final : public WindowlessControl<Shape> {
 public:
  using WindowlessControl::WindowlessControl;

  void SetBorderColour(Colour colour) override;
  void Draw(HDC dc) const override;

 private:
  Colour border_ = 0;
};

}  // namespace toolkit::win32
