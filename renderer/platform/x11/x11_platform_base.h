#pragma once
// What the renderer's two X11 platforms share, its own window and a daemon's
// alike: GL through GLX on one X window, messages made from X events and
// from the ending guard, time and the embedded bitmaps.
#include <deque>

#include "renderer/platform/platform.h"

typedef struct _XDisplay Display;

namespace renderer {

class X11PlatformBase : public Platform {
 public:
  std::intptr_t DefaultProcessing(const Message&) override { return 0; }
  void ReleaseDC(WindowHandle, DeviceContext) override {}
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

  // An X error other than the window's loss ended the run: the program
  // ends in order, but not as a success.
  bool EndedByXError() const;

 protected:
  // The X window behind a handle or device context; 0 when it is not ours
  // or has no X window yet.
  virtual unsigned long DrawableOf(const void* handle) const = 0;
  virtual bool Owns(WindowHandle window) const = 0;
  // Takes one event off the connection; true when it became a message.
  virtual bool Translate(WindowHandle window, Message& message) = 0;
  void DropPosted(WindowHandle window);
  void FreeVisual();

  ::Display* display_ = nullptr;
  WindowProc proc_ = nullptr;
  void* visual_ = nullptr;  // the XVisualInfo GL draws with
  bool doubleBuffered_ = true;
  std::deque<Message> posted_;
};

// Win32's packing of a client size into WM_SIZE's lParam.
std::intptr_t PackSize(int width, int height);

}  // namespace renderer
