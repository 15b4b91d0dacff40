#pragma once
// The windowless label: text drawn by the backend from the label's
// properties over its container's surface.
#include <QFont>
#include <QString>

#include "saver/toolkit/qt/qt_windowless.h"

namespace toolkit::qt {

class QtLabel final : public Windowless<Label> {
 public:
  explicit QtLabel(ContainerCore& container);

  void Move(const PixelRect& bounds) override;
  void SetCaption(std::string_view text) override;
  std::string Caption() const override { return caption_; }
  void SetFont(const Font& font) override;
  Font GetFont() const override { return font_; }
  void SetForeColour(Colour colour) override;
  Colour ForeColour() const override { return foreColour_; }
  void SetAlignment(Alignment alignment) override;
  void SetAutoSize(bool autoSize) override;
  void SetBorder(bool border) override;
  void SetPointer(CursorRef cursor) override;
  MouseHandlers& Mouse() override { return mouse_; }

  void Paint(QPainter& painter) const override;
  MouseHandlers* Handlers() override { return &mouse_; }
  const QtCursor* Pointer() const override;
  // The font the text is laid out in.
  const QFont& DrawingFont() const { return qfont_; }

 private:
  void Changed();
  void FitToText();

  std::string caption_;
  QString text_;  // line breaks as Qt lays them out
  Font font_;
  QFont qfont_;
  Colour foreColour_ = 0;
  Alignment alignment_ = Alignment::Left;
  bool autoSize_ = false;
  bool border_ = false;
  CursorRef pointer_;
  MouseHandlers mouse_;
};

}  // namespace toolkit::qt
