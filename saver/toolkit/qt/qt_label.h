#pragma once
// The windowless label: text drawn by the backend from the label's
// properties over its container's surface.
#include <QFont>
#include <QString>

#include "saver/toolkit/common/label_properties.h"
#include "saver/toolkit/qt/qt_windowless.h"

namespace toolkit::qt {

class QtLabel final : public Windowless<Label> {
 public:
  explicit QtLabel(ContainerCore& container);

  void Move(const PixelRect& bounds) override { Place(props_.Placed(bounds, bounds_)); }
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

  void Paint(QPainter& painter) const override;
  MouseHandlers* Handlers() override { return &props_.Mouse(); }
  const QtCursor* Pointer() const override;
  // The font the text is laid out in.
  const QFont& DrawingFont() const { return qfont_; }

 private:
  QFont qfont_;
  LabelProperties props_;
};

}  // namespace toolkit::qt
