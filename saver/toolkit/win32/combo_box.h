#pragma once
// The editable drop-down combo box: the system's COMBOBOX with CBS_DROPDOWN.
#include <optional>
#include <vector>

#include "saver/toolkit/win32/container_core.h"
#include "saver/toolkit/win32/font.h"

namespace toolkit::win32 {

class Win32ComboBox final : public ComboBox, public WindowedChild {
 public:
  explicit Win32ComboBox(ContainerCore& owner);
  ~Win32ComboBox() override;

  void Move(const PixelRect& bounds) override;
  PixelRect Bounds() const override { return bounds_; }
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }

  void SetText(std::string_view text) override;
  std::string Text() const override;
  void AddItem(std::string_view item) override;
  int ItemCount() const override { return static_cast<int>(items_.size()); }
  std::string Item(int index) const override;
  void SetFont(const Font& font) override;
  void SetBackColour(Colour colour) override;
  WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(hwnd_); }

  void CreateIn(HWND parent) override;
  HWND Hwnd() const override { return hwnd_; }

  // WM_CTLCOLOREDIT / WM_CTLCOLORLISTBOX from its edit field or its list.
  std::optional<HBRUSH> ColourFor(HWND from, HDC dc) const;

 private:
  void Place() const;

  ContainerCore& owner_;
  HWND hwnd_ = nullptr;
  PixelRect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
  std::vector<std::string> items_;
  GdiObject<HFONT> font_;
  Colour back_ = RGB(255, 255, 255);
  GdiObject<HBRUSH> brush_;
};

}  // namespace toolkit::win32
