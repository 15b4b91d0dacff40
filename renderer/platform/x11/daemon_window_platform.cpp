#include "renderer/platform/x11/daemon_window_platform.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "renderer/platform/x11/ending_guard.h"
#include "x11/error_trap.h"

namespace renderer {
namespace {

XVisualInfo* Info(void* visual) { return static_cast<XVisualInfo*>(visual); }

}  // namespace

DaemonWindowPlatform::DaemonWindowPlatform(unsigned long window) : xid_(window) {}

DaemonWindowPlatform::~DaemonWindowPlatform() {
  UnregisterWindowClass(nullptr, nullptr);
  EndingGuard::Remove();
}

bool DaemonWindowPlatform::RegisterWindowClass(InstanceHandle, const char*, WindowProc proc) {
  if (!display_) display_ = XOpenDisplay(nullptr);
  if (!display_) return false;
  XWindowAttributes attributes;
  bool exists = false;
  {
    x11::ErrorTrap trap(display_);
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

void DaemonWindowPlatform::UnregisterWindowClass(InstanceHandle, const char*) {
  proc_ = nullptr;
  FreeVisual();
  if (display_) {
    EndingGuard::Watch(nullptr, 0);
    XCloseDisplay(display_);
    display_ = nullptr;
  }
}

bool DaemonWindowPlatform::ChangeDisplayMode(std::int32_t, std::int32_t, std::int32_t) { return display_ != nullptr; }

WindowHandle DaemonWindowPlatform::NewWindow(std::uint32_t, const char*, const char*, std::uint32_t, std::int32_t,
                                          std::int32_t, std::int32_t, std::int32_t, InstanceHandle,
                                          void* createParam) {
  if (!display_ || made_) return nullptr;
  made_ = true;
  if (proc_) proc_(Handle(), MsgCreate, 0, reinterpret_cast<std::intptr_t>(createParam));
  return Handle();
}

// The window is not ours to destroy: only our interest in it ends.
void DaemonWindowPlatform::DestroyWindow(WindowHandle window) {
  if (!Owns(window)) return;
  {
    x11::ErrorTrap trap(display_);
    XSelectInput(display_, xid_, NoEventMask);
  }
  DropPosted(window);
  made_ = false;
  userData_ = nullptr;
}

bool DaemonWindowPlatform::SizeNow(int& width, int& height) {
  x11::ErrorTrap trap(display_);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, xid_, &attributes) || trap.Failed()) return false;
  width = attributes.width;
  height = attributes.height;
  return attributes.map_state != IsUnmapped;
}

// The daemon shows the window; what the loop needs is its real size.
void DaemonWindowPlatform::ShowWindow(WindowHandle window) {
  if (!Owns(window)) return;
  const bool mapped = SizeNow(width_, height_);
  posted_.push_back(Message{window, MsgSize, mapped ? SizeRestored : SizeMinimized, PackSize(width_, height_)});
}

void DaemonWindowPlatform::SetWindowUserData(WindowHandle window, void* data) {
  if (Owns(window)) userData_ = data;
}

void* DaemonWindowPlatform::GetWindowUserData(WindowHandle window) { return Owns(window) ? userData_ : nullptr; }

DeviceContext DaemonWindowPlatform::GetDC(WindowHandle window) { return Owns(window) ? window : nullptr; }

int DaemonWindowPlatform::ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
  return Owns(dc) && request.drawToWindow && request.supportOpenGl ? 1 : 0;
}

// The window's visual was fixed by its owner; GL must work with it as it is.
bool DaemonWindowPlatform::SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest&) {
  if (!Owns(dc) || format != 1 || visual_) return false;
  x11::ErrorTrap trap(display_);
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

bool DaemonWindowPlatform::Translate(WindowHandle, Message& message) {
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

}  // namespace renderer
