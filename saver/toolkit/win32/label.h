#pragma once
// The windowless label: text drawn by DrawTextW over the container.
#include "saver/toolkit/common/label_properties.h"
#include "saver/toolkit/win32/font.h"
#include "saver/toolkit/win32/windowless_control.h"

namespace toolkit::win32 {

class Win32Label final : public LabelOf<WindowlessControl<Label>> {
 public:
  explicit Win32Label(ContainerCore& owner);

  void Move(const PixelRect& bounds) override { WindowlessControl::Move(props_.Placed(bounds, bounds_)); }

  void Draw(HDC dc) const override;
  MouseHandlers* TargetHandlers() override { return enabled_ ? &props_.Mouse() : nullptr; }
  HCURSOR Pointer() const override;

 private:
  GdiObject<HFONT> gdiFont_;
};

}  // namespace toolkit::win32
