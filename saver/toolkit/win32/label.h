#pragma once
// The windowless label: text drawn by DrawTextW over the container.
#include "saver/toolkit/win32/font.h"
#include "saver/toolkit/win32/windowless_control.h"

namespace toolkit::win32 {

class Win32Label final : public WindowlessControl<Label> {
 public:
  explicit Win32Label(ContainerCore& owner);

  // Auto-sized, the label keeps the size of its text wherever it goes.
  void Move(const PixelRect& bounds) override;
  void SetCaption(std::string_view text) override;
  std::string Caption() const override { return caption_; }
  void SetFont(const Font& font) override;
  Font GetFont() const override { return font_; }
  void SetForeColour(Colour colour) override;
  Colour ForeColour() const override { return fore_; }
  void SetAlignment(Alignment alignment) override;
  void SetAutoSize(bool autoSize) override;
  void SetBorder(bool border) override;
  void SetPointer(CursorRef cursor) override { pointer_ = std::move(cursor); }
  MouseHandlers& Mouse() override { return mouse_; }

  void Draw(HDC dc) const override;
  MouseHandlers* TargetHandlers() override { return enabled_ ? &mouse_ : nullptr; }
  HCURSOR Pointer() const override;

 private:
  void Fit();

  std::string caption_;
  std::wstring wideCaption_;
  Font font_;
  GdiObject<HFONT> gdiFont_;
  Colour fore_ = 0;
  Alignment alignment_ = Alignment::Left;
  bool autoSize_ = false;
  bool border_ = false;
  CursorRef pointer_;
  MouseHandlers mouse_;
};

}  // namespace toolkit::win32
