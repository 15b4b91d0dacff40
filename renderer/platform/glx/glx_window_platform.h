#pragma once
// The renderer's system seam for drawing inside a window another program
// owns (an idle daemon's, given by $XSCREENSAVER_WINDOW): Xlib and GLX on
// that window, at its size. Nothing of the desktop changes: no display
// mode, no pointer, no screen-saver suspension, no window of our own. The
// run ends when a termination signal comes or the window goes away.
#include <deque>

#include "../platform.h"
#include "../sdl/x11_display_mode.h"

typedef struct _XDisplay Display;

namespace renderer {

class GlxWindowPlatform : public Platform {
 public:
  explicit GlxWindowPlatform(unsigned long window);
  ~GlxWindowPlatform() override;

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
  std::intptr_t DefaultProcessing(const Message&) override { return 0; }
  DeviceContext GetDC(WindowHandle window) override;
  void ReleaseDC(WindowHandle, DeviceContext) override {}
  int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) override;
  bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) override;
  GlContext CreateGlContext(DeviceContext dc) override;
  bool MakeCurrent(DeviceContext dc, GlContext context) override;
  void DeleteGlContext(GlContext context) override;
  void SwapBuffers(DeviceContext dc) override;
  bool PeekWindowMessage(WindowHandle window, Message& message) override;
  void DispatchWindowMessage(const Message& message) override;
  void WaitMessage() override;
  void PostQuit(WindowHandle window) override;
  std::uint32_t GetTickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
  std::optional<Bitmap> LoadBitmapResource(int resourceId) override;
  void FreeBitmap(const Bitmap&) override {}

  // An X error other than the window's loss ended the run.
  bool EndedByXError() const;

 private:
  bool Ours(WindowHandle window) const { return made_ && window == Handle(); }
  WindowHandle Handle() const { return const_cast<GlxWindowPlatform*>(this); }
  bool Translate(Message& message);
  bool SizeNow(int& width, int& height);

  unsigned long xid_;
  ::Display* display_ = nullptr;
  WindowProc proc_ = nullptr;
  X11DisplayMode unswitched_;  // the ending guard's; never switched here
  bool made_ = false;
  void* userData_ = nullptr;
  void* visual_ = nullptr;  // the window's XVisualInfo, once GL is set up on it
  bool doubleBuffered_ = false;
  int width_ = 0, height_ = 0;
  std::deque<Message> posted_;
};

}  // namespace renderer
