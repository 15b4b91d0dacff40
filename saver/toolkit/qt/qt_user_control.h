#pragma once
// The user control: a native child window painted by the program through
// its surface, taking the focus by Tab and by click, holding the mouse while
// a button is down, and reporting its events.
#include "saver/toolkit/qt/qt_container.h"
#include "saver/toolkit/qt/qt_native_child.h"
#include "saver/toolkit/qt/qt_timer.h"

namespace toolkit::qt {

class QtUserControl final : public ContainerOf<NativeChild<UserControl>> {
 public:
  // parent null: no window.
  QtUserControl(QWidget* parent, UserControlEvents& events);

  void SetTransparent(bool transparent) override { core_.SetTransparent(transparent); }
  bool Transparent() const override { return core_.Transparent(); }
  WindowHandle Handle() const override { return NativeHandle(); }
  WindowHandle ParentHandle() const override;

  Timer& AddTimer(int intervalMs, bool enabled, std::function<void()> tick) override;

  // No more events or ticks for the program (its form unloads).
  void Shutdown();
  // The program's events, or a sink once shut down.
  UserControlEvents& Events() { return shut_ ? sink_ : events_; }
  // Raises Resize once per new size, whoever changed it.
  void SizeMayHaveChanged(QSize size);

 protected:
  void Moved() override;

 private:
  UserControlEvents& events_;
  UserControlEvents sink_;
  bool shut_ = false;
  QSize reported_{0, 0};
  std::vector<std::unique_ptr<QtTimer>> timers_;
};

}  // namespace toolkit::qt
