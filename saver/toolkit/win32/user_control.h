#pragma once
// The user control: a focusable child window with a retained surface whose
// program paints it and hears its mouse, focus and size.
#include "saver/toolkit/win32/container_core.h"
#include "saver/toolkit/win32/timer.h"
#include "saver/toolkit/win32/window_class.h"

namespace toolkit::win32 {

class Win32UserControl final : public ContainerBase<UserControl>, public WindowedChild, public MessageTarget {
 public:
  Win32UserControl(ContainerCore& owner, UserControlEvents& events);
  ~Win32UserControl() override;

  void Move(const PixelRect& bounds) override;
  PixelRect Bounds() const override { return bounds_; }
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }

  void SetTransparent(bool transparent) override;
  bool Transparent() const override { return transparent_; }
  WindowHandle ParentHandle() const override;
  Timer& AddTimer(int intervalMs, bool enabled, std::function<void()> tick) override;

  void CreateIn(HWND parent) override;
  HWND Hwnd() const override { return core_.Hwnd(); }

  void Attach(HWND window) override { core_.Attach(window); }
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Detach() override { core_.Detach(); }

  void Silence();
  // The container's image changed: what shows through must follow.
  void BehindChanged() const;

 private:
  void SizeTo(Size size);
  // The program's handler, unless the control is going.
  template <class Handler>
  void Raise(Handler&& handler);
  void PaintBehind(HDC dc, const RECT& area) const;

  ContainerCore& owner_;
  UserControlEvents& events_;
  PixelRect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  bool transparent_ = false;
  bool silent_ = false;
  TimerSet timers_;
};

}  // namespace toolkit::win32
