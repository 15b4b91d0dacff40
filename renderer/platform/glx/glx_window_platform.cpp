#include "glx_window_platform.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <thread>

#include "../../resources/bitmap_file.h"
#include "../sdl/ending_guard.h"
#include "../sdl/x11_error_trap.h"

namespace renderer {
namespace {

XVisualInfo* Info(void* visual) { return static_cast<XVisualInfo*>(visual); }

std::intptr_t PackSize(int width, int height) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(height & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(width & 0xFFFF));
}

}  // namespace

GlxWindowPlatform::GlxWindowPlatform(unsigned long window) : xid_(window) {}

GlxWindowPlatform::~GlxWindowPlatform() {
  UnregisterWindowClass(nullptr, nullptr);
  EndingGuard::Remove();
}

bool GlxWindowPlatform::RegisterWindowClass(InstanceHandle, const char*, WindowProc proc) {
  if (!display_) display_ = XOpenDisplay(nullptr);
  if (!display_) return false;
  XWindowAttributes attributes;
  bool exists = false;
  {
    X11ErrorTrap trap(display_);
    exists = XGetWindowAttributes(display_, xid_, &attributes) != 0 && !trap.Failed();
    // The window's changes of size and its end; nothing that another
    // client may hold alone (pointer buttons) is asked for.
    if (exists) XSelectInput(display_, xid_, StructureNotifyMask);
    exists = exists && !trap.Failed();
  }
  if (!exists) {
    UnregisterWindowClass(nullptr, nullptr);
    return false;
  }
  width_ = attributes.width;
  height_ = attributes.height;
  EndingGuard::Install(unswitched_);
  EndingGuard::Watch(display_, xid_);
  proc_ = proc;
  return true;
}

void GlxWindowPlatform::UnregisterWindowClass(InstanceHandle, const char*) {
  proc_ = nullptr;
  if (visual_) {
    XFree(visual_);
    visual_ = nullptr;
  }
  if (display_) {
    EndingGuard::Watch(nullptr, 0);
    XCloseDisplay(display_);
    display_ = nullptr;
  }
}

bool GlxWindowPlatform::ChangeDisplayMode(std::int32_t, std::int32_t, std::int32_t) { return display_ != nullptr; }

WindowHandle GlxWindowPlatform::NewWindow(std::uint32_t, const char*, const char*, std::uint32_t, std::int32_t,
                                          std::int32_t, std::int32_t, std::int32_t, InstanceHandle,
                                          void* createParam) {
  if (!display_ || made_) return nullptr;
  made_ = true;
  if (proc_) proc_(Handle(), MsgCreate, 0, reinterpret_cast<std::intptr_t>(createParam));
  return Handle();
}

// The window is not ours to destroy: only our interest in it ends.
void GlxWindowPlatform::DestroyWindow(WindowHandle window) {
  if (!Ours(window)) return;
  {
    X11ErrorTrap trap(display_);
    XSelectInput(display_, xid_, NoEventMask);
  }
  for (auto it = posted_.begin(); it != posted_.end();) it = it->hWnd == window ? posted_.erase(it) : it + 1;
  made_ = false;
  userData_ = nullptr;
}

bool GlxWindowPlatform::SizeNow(int& width, int& height) {
  X11ErrorTrap trap(display_);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, xid_, &attributes) || trap.Failed()) return false;
  width = attributes.width;
  height = attributes.height;
  return attributes.map_state != IsUnmapped;
}

// The daemon shows the window; what the loop needs is its real size.
void GlxWindowPlatform::ShowWindow(WindowHandle window) {
  if (!Ours(window)) return;
  const bool mapped = SizeNow(width_, height_);
  posted_.push_back(Message{window, MsgSize, mapped ? SizeRestored : SizeMinimized, PackSize(width_, height_)});
}

void GlxWindowPlatform::SetWindowUserData(WindowHandle window, void* data) {
  if (Ours(window)) userData_ = data;
}

void* GlxWindowPlatform::GetWindowUserData(WindowHandle window) { return Ours(window) ? userData_ : nullptr; }

DeviceContext GlxWindowPlatform::GetDC(WindowHandle window) { return Ours(window) ? window : nullptr; }

int GlxWindowPlatform::ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
  return Ours(dc) && request.drawToWindow && request.supportOpenGl ? 1 : 0;
}

// The window's visual was fixed by its owner; GL must work with it as it is.
bool GlxWindowPlatform::SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest&) {
  if (!Ours(dc) || format != 1 || visual_) return false;
  X11ErrorTrap trap(display_);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, xid_, &attributes) || trap.Failed()) return false;
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  wanted.screen = XScreenNumberOfScreen(attributes.screen);
  int count = 0;
  visual_ = XGetVisualInfo(display_, VisualIDMask | VisualScreenMask, &wanted, &count);
  int usesGl = 0, doubleBuffer = 0;
  if (!visual_ || count < 1 || glXGetConfig(display_, Info(visual_), GLX_USE_GL, &usesGl) != 0 || !usesGl) {
    if (visual_) XFree(visual_);
    visual_ = nullptr;
    return false;
  }
  glXGetConfig(display_, Info(visual_), GLX_DOUBLEBUFFER, &doubleBuffer);
  doubleBuffered_ = doubleBuffer != 0;
  return true;
}

GlContext GlxWindowPlatform::CreateGlContext(DeviceContext dc) {
  if (!Ours(dc) || !visual_) return nullptr;
  X11ErrorTrap trap(display_);
  GLXContext context = glXCreateContext(display_, Info(visual_), nullptr, True);
  if (trap.Failed() && context) {
    glXDestroyContext(display_, context);
    return nullptr;
  }
  return context;
}

bool GlxWindowPlatform::MakeCurrent(DeviceContext dc, GlContext context) {
  if (!Ours(dc)) return false;
  X11ErrorTrap trap(display_);
  const bool made = context ? glXMakeCurrent(display_, xid_, static_cast<GLXContext>(context))
                            : glXMakeCurrent(display_, None, nullptr);
  return made && !trap.Failed();
}

void GlxWindowPlatform::DeleteGlContext(GlContext context) {
  if (context && display_) glXDestroyContext(display_, static_cast<GLXContext>(context));
}

void GlxWindowPlatform::SwapBuffers(DeviceContext dc) {
  if (!Ours(dc)) return;
  if (doubleBuffered_) glXSwapBuffers(display_, xid_);
  else glFlush();
}

bool GlxWindowPlatform::Translate(Message& message) {
  XEvent event;
  XNextEvent(display_, &event);
  message = Message{Handle(), 0, 0, 0};
  switch (event.type) {
    case ConfigureNotify:
      if (event.xconfigure.window != xid_) return false;
      if (event.xconfigure.width == width_ && event.xconfigure.height == height_) return false;
      width_ = event.xconfigure.width;
      height_ = event.xconfigure.height;
      message.message = MsgSize;
      message.wParam = SizeRestored;
      message.lParam = PackSize(width_, height_);
      return true;
    case UnmapNotify:
      if (event.xunmap.window != xid_) return false;
      message.message = MsgSize;
      message.wParam = SizeMinimized;
      return true;
    case MapNotify:
      if (event.xmap.window != xid_) return false;
      message.message = MsgSize;
      message.wParam = SizeRestored;
      message.lParam = PackSize(width_, height_);
      return true;
    case DestroyNotify:
      if (event.xdestroywindow.window != xid_) return false;
      // The daemon took its window away: the run is over.
      EndingGuard::WindowGone(xid_);
      message.message = MsgClose;
      return true;
    default:
      return false;
  }
}

bool GlxWindowPlatform::PeekWindowMessage(WindowHandle window, Message& message) {
  for (auto it = posted_.begin(); it != posted_.end(); ++it) {
    if (it->hWnd == window) {
      message = *it;
      posted_.erase(it);
      return true;
    }
  }
  if (!Ours(window)) return false;
  // Termination signals and X errors about the window: a close request.
  if (EndingGuard::TakeCloseRequest()) {
    message = Message{window, MsgClose, 0, 0};
    return true;
  }
  while (XPending(display_) > 0) {
    if (Translate(message)) return true;
  }
  return false;
}

void GlxWindowPlatform::DispatchWindowMessage(const Message& message) {
  if (proc_ && Ours(message.hWnd)) proc_(message.hWnd, message.message, message.wParam, message.lParam);
}

// Wakes for events, posted messages and close requests; the short timeout
// lets a signal end the wait.
void GlxWindowPlatform::WaitMessage() {
  while (posted_.empty() && !EndingGuard::CloseRequested() && display_) {
    if (XPending(display_) > 0) return;
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    if (poll(&connection, 1, 250) > 0) return;
  }
}

void GlxWindowPlatform::PostQuit(WindowHandle window) {
  if (Ours(window)) posted_.push_back(Message{window, MsgQuit, 0, 0});
}

std::uint32_t GlxWindowPlatform::GetTickCount() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void GlxWindowPlatform::Sleep(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::optional<Bitmap> GlxWindowPlatform::LoadBitmapResource(int resourceId) {
  const auto view = FindBitmapResource(resourceId);
  if (!view) return std::nullopt;
  return Bitmap{view->width, view->height, view->rows, nullptr};
}

bool GlxWindowPlatform::EndedByXError() const { return EndingGuard::EndedByXError(); }

}  // namespace renderer
