#pragma once
// Drawing inside a window another program owns (an idle daemon's, given by
// $XSCREENSAVER_WINDOW): GLX on that window, at its size. Nothing of the
// desktop changes: no display mode, no pointer, no screen-saver
// suspension, no window of our own. The run ends when a termination signal
// comes or the window goes away.
#include "renderer/platform/x11/x11_display_mode.h"
#include "renderer/platform/x11/x11_platform_base.h"

namespace renderer {

class DaemonWindowPlatform : public X11PlatformBase {
 public:
  explicit DaemonWindowPlatform(unsigned long window);
  ~DaemonWindowPlatform() override;

  bool RegisterWindowClass(InstanceHandle instance, const char* className, WindowProc proc) override;
  void UnregisterWindowClass(InstanceHandle instance, const char* className) override;
  // The window is the size it is: a switch "succeeds" without changing anything.
  bool ChangeDisplayMode(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) override;
  void RestoreDisplayMode() override {}
  void ShowCursor(bool) override {}
  void AdjustWindowRect(Rect&, std::uint32_t, std::uint32_t) override {}
  WindowHandle NewWindow(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style,
                         std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                         InstanceHandle instance, void* createParam) override;
  void DestroyWindow(WindowHandle window) override;
  void ShowWindow(WindowHandle window) override;
  void SetWindowUserData(WindowHandle window, void* data) override;
  void* GetWindowUserData(WindowHandle window) override;
  DeviceContext GetDC(WindowHandle window) override;
  int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) override;
  bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) override;

 protected:
  unsigned long DrawableOf(const void* handle) const override { return made_ && handle == this ? xid_ : 0; }
  bool Owns(WindowHandle window) const override { return made_ && window == this; }
  bool Translate(WindowHandle window, Message& message) override;

 private:
  WindowHandle Handle() { return this; }
  bool SizeNow(int& width, int& height);

  unsigned long xid_;
  X11DisplayMode unswitched_;  // the ending guard's; never switched here
  bool made_ = false;
  void* userData_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace renderer
