#pragma once
// The windowless label: text drawn by DrawTextW over the container.
#include "saver/toolkit/common/label_properties.h"
#include "saver/toolkit/win32/font.h"
#include "saver/toolkit/win32/windowless_control.h"

namespace toolkit::win32 {

class Win32Label final : public WindowlessControl<Label> {
 public:
  explicit Win32Label(ContainerCore& owner);

  void Move(const PixelRect& bounds) override { WindowlessControl::Move(props_.Placed(bounds, bounds_)); }
  void SetCaption(std::string_view text) override { props_.SetCaption(text); }
  std::string Caption() const override { return props_.Caption(); }
  void SetFont(const Font& font) override { props_.SetFont(font); }
  Font GetFont() const override { return props_.GetFont(); }
  void SetForeColour(Colour colour) override { props_.SetForeColour(colour); }
  Colour ForeColour() const override { return props_.ForeColour(); }
  void SetAlignment(Alignment alignment) override { props_.SetAlignment(alignment); }
  void SetAutoSize(bool autoSize) override { props_.SetAutoSize(autoSize); }
  void SetBorder(bool border) override { props_.SetBorder(border); }
  void SetPointer(CursorRef cursor) override { props_.SetPointer(std::move(cursor)); }
  MouseHandlers& Mouse() override { return props_.Mouse(); }

  void Draw(HDC dc) const override;
  MouseHandlers* TargetHandlers() override { return enabled_ ? &props_.Mouse() : nullptr; }
  HCURSOR Pointer() const override;

 private:
  GdiObject<HFONT> gdiFont_;
  LabelProperties props_;
};

}  // namespace toolkit::win32
