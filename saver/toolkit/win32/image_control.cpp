#include "saver/toolkit/win32/image_control.h"

#include "saver/toolkit/win32/picture.h"

namespace toolkit::win32 {

void Win32Image::SetPicture(PictureRef picture) {
  picture_ = std::move(picture);
  Changed();
}

void Win32Image::Draw(HDC dc) const {
  const auto* picture = dynamic_cast<const Win32Picture*>(picture_.get());
  if (!picture) return;
  picture->DrawAt(dc, bounds_.x, bounds_.y, ToRect(bounds_));
}

void Win32Shape::SetBorderColour(Colour colour) {
  border_ = colour;
  Changed();
}

void Win32Shape::Draw(HDC dc) const {
  const RECT bounds = ToRect(bounds_);
  HBRUSH brush = CreateSolidBrush(border_);
  FrameRect(dc, &bounds, brush);
  DeleteObject(brush);
}

}  // namespace toolkit::win32
