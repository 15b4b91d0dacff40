#pragma once
// The picture box: a borderless native child window with a surface and
// controls of its own. It takes no focus.
#include "saver/toolkit/qt/qt_container.h"
#include "saver/toolkit/qt/qt_native_child.h"

namespace toolkit::qt {

class QtPictureBox final : public ContainerOf<NativeChild<PictureBox>> {
 public:
  // parent null: no window.
  explicit QtPictureBox(QWidget* parent);
  WindowHandle Handle() const override { return NativeHandle(); }

 protected:
  // The surface takes the new size at once, shown or not.
  void Moved() override;
};

}  // namespace toolkit::qt
