#pragma once
// The windowless label: text drawn by the backend from the label's
// properties over its container's surface.
#include <QFont>
#include <QString>

#include "saver/toolkit/common/label_properties.h"
#include "saver/toolkit/qt/qt_windowless.h"

namespace toolkit::qt {

class QtLabel final : public LabelOf<Windowless<Label>> {
 public:
  explicit QtLabel(ContainerCore& container);

  void Move(const PixelRect& bounds) override { Place(props_.Placed(bounds, bounds_)); }

  void Paint(QPainter& painter) const override;
  MouseHandlers* Handlers() override { return &props_.Mouse(); }
  const QtCursor* Pointer() const override;
  // The font the text is laid out in.
  const QFont& DrawingFont() const { return qfont_; }

 private:
  QFont qfont_;
};

}  // namespace toolkit::qt
