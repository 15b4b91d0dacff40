#pragma once
// The editable drop-down combo box.
#include <QComboBox>

#include "saver/toolkit/qt/qt_native_child.h"

namespace toolkit::qt {

class QtComboBox final : public NativeChild<ComboBox> {
 public:
  // parent null: no window (no display, or the form is gone).
  QtComboBox(QWidget* parent, int dpi);

  void SetText(std::string_view text) override;
  std::string Text() const override;
  void AddItem(std::string_view item) override;
  int ItemCount() const override;
  std::string Item(int index) const override;
  void SetFont(const Font& font) override;
  void SetBackColour(Colour colour) override;
  WindowHandle Handle() const override { return NativeHandle(); }

 private:
  QComboBox* Box() const { return static_cast<QComboBox*>(widget_.data()); }

  int dpi_;
  // Kept here as well, for a box whose window is gone.
  std::string text_;
  std::vector<std::string> items_;
};

}  // namespace toolkit::qt
