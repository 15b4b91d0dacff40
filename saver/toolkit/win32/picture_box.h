#pragma once
// The picture box: a borderless child window with a retained surface and
// controls of its own.
#include "saver/toolkit/win32/container_core.h"
#include "saver/toolkit/win32/window_class.h"

namespace toolkit::win32 {

class Win32PictureBox final : public ContainerBase<PictureBox>, public WindowedChild, public MessageTarget {
 public:
  explicit Win32PictureBox(ContainerCore& owner);
  ~Win32PictureBox() override;

  void Move(const PixelRect& bounds) override;
  PixelRect Bounds() const override { return bounds_; }
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }

  void CreateIn(HWND parent) override;
  HWND Hwnd() const override { return core_.Hwnd(); }
  void CollectTabStops(std::vector<HWND>& stops) const override { core_.CollectTabStops(stops); }

  void Attach(HWND window) override { core_.Attach(window); }
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Detach() override { core_.Detach(); }

 private:
  PixelRect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
};

}  // namespace toolkit::win32
