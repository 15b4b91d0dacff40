#include "renderer/platform/x11/x11_platform.h"

#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/scrnsaver.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

#include "renderer/platform/x11/ending_guard.h"
#include "renderer/platform/x11/key_map.h"
#include "x11/error_trap.h"

namespace renderer {
namespace {

enum AtomIndex {
  WmProtocols,
  WmDeleteWindow,
  WmToggleMode,
  NetWmState,
  NetWmStateFullscreen,
  NetWmStateAbove,
  NetWmName,
  NetWmPid,
  Utf8String,
  MotifWmHints,
  AtomCount
};
const char* const AtomNames[AtomCount] = {
    "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_TOGGLEMODE", "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN",
    "_NET_WM_STATE_ABOVE", "_NET_WM_NAME", "_NET_WM_PID", "UTF8_STRING", "_MOTIF_WM_HINTS"};

// A window manager maps a window within milliseconds; past this the first
// frame is drawn anyway.
constexpr auto MapLimit = std::chrono::milliseconds(1000);

}  // namespace

struct X11Platform::NativeWindow {
  std::string title;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  void* userData = nullptr;
  Window xid = 0;
  // Where GL draws: the window itself, or under Xwayland's emulated mode a
  // child keeping the mode's shape centred in the output-sized window.
  Window view = 0;
  Colormap colormap = 0;
  std::optional<x11::FrameExtents> adjustedBy;  // its size is a client size plus this
  int clientWidth = 0, clientHeight = 0;
  bool fullScreen = false;  // a popup that covers the whole screen
  bool mapped = false;
};

X11Platform::X11Platform() = default;

X11Platform::~X11Platform() {
  if (window_) DestroyWindow(window_);
  UnregisterWindowClass(nullptr, nullptr);
  EndingGuard::Remove();
}

bool X11Platform::RegisterWindowClass(InstanceHandle, const char* className, WindowProc proc) {
  // An X11 program: without an X display it fails here, whatever else the
  // session offers.
  if (!display_) display_ = XOpenDisplay(nullptr);
  if (!display_) return false;
  // Xwayland emulates modes per client: the switch must come from the
  // connection that owns the window.
  if (X11DisplayMode::IsXwayland(display_)) displayMode_.ShareConnection(display_, true);
  EndingGuard::Install(displayMode_);
  EndingGuard::Watch(display_, 0);
  atoms_.assign(AtomCount, 0);
  XInternAtoms(display_, const_cast<char**>(AtomNames), AtomCount, False, atoms_.data());
  // A held key repeats its presses alone, as on Windows.
  XkbSetDetectableAutoRepeat(display_, True, nullptr);
  // The server ends the suspension with the connection, however it ends.
  // Xwayland has no screen saver of its own to suspend.
  int saverEvent = 0, saverError = 0;
  if (XScreenSaverQueryExtension(display_, &saverEvent, &saverError)) XScreenSaverSuspend(display_, True);
  className_ = className ? className : "";
  proc_ = proc;
  return true;
}

void X11Platform::UnregisterWindowClass(InstanceHandle, const char*) {
  proc_ = nullptr;
  displayMode_.Restore();
  FreeVisual();
  if (!display_) return;
  if (blankCursor_) XFreeCursor(display_, blankCursor_);
  blankCursor_ = 0;
  EndingGuard::Watch(nullptr, 0);
  displayMode_.Unshare();
  XCloseDisplay(display_);
  display_ = nullptr;
}

bool X11Platform::ChangeDisplayMode(std::int32_t width, std::int32_t height, std::int32_t) {
  return displayMode_.Switch(width, height);
}

void X11Platform::RestoreDisplayMode() { displayMode_.Restore(); }

// Windows keeps a display count; the cursor shows while it is not negative.
void X11Platform::ShowCursor(bool show) {
  cursorCount_ += show ? 1 : -1;
  if (window_ && window_->xid) ApplyCursor(*window_);
}

void X11Platform::ApplyCursor(NativeWindow& window) {
  if (cursorCount_ >= 0) {
    XUndefineCursor(display_, window.xid);
    return;
  }
  if (!blankCursor_) {
    const char empty[1] = {0};
    const Pixmap pixmap = XCreateBitmapFromData(display_, window.xid, empty, 1, 1);
    XColor black{};
    blankCursor_ = XCreatePixmapCursor(display_, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(display_, pixmap);
  }
  XDefineCursor(display_, window.xid, blankCursor_);
}

// The frame belongs to the window manager; it is known once a window has
// been shown, and nothing before that.
void X11Platform::AdjustWindowRect(Rect& rect, std::uint32_t style, std::uint32_t) {
  if (style & StylePopup) return;
  rect.left -= frame_.left;
  rect.top -= frame_.top;
  rect.right += frame_.right;
  rect.bottom += frame_.bottom;
  adjustedBy_ = frame_;
}

WindowHandle X11Platform::NewWindow(std::uint32_t exStyle, const char*, const char* title, std::uint32_t style,
                                    std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                    InstanceHandle, void* createParam) {
  if (!display_ || window_ || width <= 0 || height <= 0) return nullptr;
  auto* window = new NativeWindow;
  window->title = title ? title : "";
  window->style = style;
  window->exStyle = exStyle;
  window->x = x;
  window->y = y;
  window->width = width;
  window->height = height;
  window->adjustedBy = adjustedBy_;
  adjustedBy_.reset();
  window_ = window;
  if (proc_) proc_(window, MsgCreate, 0, reinterpret_cast<std::intptr_t>(createParam));
  return window;
}

X11Platform::NativeWindow* X11Platform::Find(const void* handle) const {
  return handle && handle == window_ ? window_ : nullptr;
}

bool X11Platform::Owns(WindowHandle window) const { return Find(window) != nullptr; }

unsigned long X11Platform::DrawableOf(const void* handle) const {
  const NativeWindow* window = Find(handle);
  return window && window->xid ? window->view : 0;
}

void X11Platform::DestroyWindow(WindowHandle handle) {
  NativeWindow* window = Find(handle);
  if (!window) return;
  EndingGuard::Watch(nullptr, 0);
  if (window->xid || window->colormap || !covers_.empty()) {
    // A window another client destroyed brings errors: taken here, expected.
    x11::ErrorTrap trap(display_);
    Uncover();
    if (window->xid) XDestroyWindow(display_, window->xid);
    if (window->colormap) XFreeColormap(display_, window->colormap);
  }
  FreeVisual();
  DropPosted(handle);
  window_ = nullptr;
  delete window;
}

void X11Platform::DescribeToX(NativeWindow& window) {
  const Window xid = window.xid;
  XSizeHints size{};
  size.flags = USPosition | PPosition;
  size.x = window.x;
  size.y = window.y;
  XWMHints wm{};
  wm.flags = InputHint | StateHint;
  wm.input = True;
  wm.initial_state = NormalState;
  std::string name = className_;
  XClassHint hint{name.data(), name.data()};
  char* titleList[] = {window.title.data()};
  XTextProperty title{};
  const bool titled = XStringListToTextProperty(titleList, 1, &title) != 0;
  XSetWMProperties(display_, xid, titled ? &title : nullptr, titled ? &title : nullptr, nullptr, 0, &size, &wm,
                   &hint);
  if (titled) XFree(title.value);
  XChangeProperty(display_, xid, atoms_[NetWmName], atoms_[Utf8String], 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(window.title.data()), static_cast<int>(window.title.size()));
  const long pid = getpid();
  XChangeProperty(display_, xid, atoms_[NetWmPid], XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  Atom protocols[] = {atoms_[WmDeleteWindow]};
  XSetWMProtocols(display_, xid, protocols, 1);

  // A popup has no frame; one that covers the screen is a full-screen window.
  if (window.style & StylePopup) {
    const long motif[5] = {1L << 1, 0, 0, 0, 0};  // decorations: none
    XChangeProperty(display_, xid, atoms_[MotifWmHints], atoms_[MotifWmHints], 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
  }
  std::vector<Atom> states;
  if (window.exStyle & ExStyleTopmost) states.push_back(atoms_[NetWmStateAbove]);
  if (window.fullScreen) states.push_back(atoms_[NetWmStateFullscreen]);
  XChangeProperty(display_, xid, atoms_[NetWmState], XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
}

void X11Platform::ShowWindow(WindowHandle handle) {
  NativeWindow* window = Find(handle);
  if (!window || !window->xid) return;
  if (window->fullScreen) CoverOtherMonitors(*window);
  XMapRaised(display_, window->xid);
  WaitUntilMapped(*window);
  if (!(window->style & StylePopup)) {
    if (const auto extents = x11::CurrentFrameExtents(display_, window->xid)) frame_ = *extents;
  }
  Window root = 0;
  int x = 0, y = 0;
  unsigned int width = 0, height = 0, border = 0, depth = 0;
  if (window->view != window->xid) FitView(*window);
  if (XGetGeometry(display_, window->view, &root, &x, &y, &width, &height, &border, &depth)) {
    window->clientWidth = static_cast<int>(width);
    window->clientHeight = static_cast<int>(height);
  }
  // The view is not the size asked for: the loop learns its real size.
  if (window->view != window->xid && (window->clientWidth != window->width || window->clientHeight != window->height))
    posted_.push_back(Message{handle, MsgSize, SizeRestored, PackSize(window->clientWidth, window->clientHeight)});
  // The shown window takes the keyboard, as a new foreground window does.
  if (window->mapped) {
    x11::ErrorTrap trap(display_);
    XSetInputFocus(display_, window->xid, RevertToParent, CurrentTime);
  }
}

// Every monitor the full-screen window leaves showing the desktop goes dark
// for the run: plain black windows that take no input and are never given
// the keyboard (override-redirect: no window manager focuses them).
void X11Platform::CoverOtherMonitors(const NativeWindow& window) {
  const int screen = DefaultScreen(display_);
  for (const MonitorArea& monitor : X11DisplayMode::Monitors(display_)) {
    const bool meets = monitor.x < window.x + window.width && window.x < monitor.x + monitor.width &&
                       monitor.y < window.y + window.height && window.y < monitor.y + monitor.height;
    if (meets || monitor.width <= 0 || monitor.height <= 0) continue;
    XSetWindowAttributes set{};
    set.override_redirect = True;
    set.background_pixel = BlackPixel(display_, screen);
    set.cursor = cursorCount_ < 0 ? blankCursor_ : None;
    const Window cover =
        XCreateWindow(display_, RootWindow(display_, screen), monitor.x, monitor.y,
                      static_cast<unsigned>(monitor.width), static_cast<unsigned>(monitor.height), 0,
                      CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel | CWCursor, &set);
    if (!cover) continue;
    XMapRaised(display_, cover);
    covers_.push_back(cover);
  }
}

void X11Platform::Uncover() {
  for (const unsigned long cover : covers_) XDestroyWindow(display_, cover);
  covers_.clear();
}

// The largest view of the asked shape, centred in the window as it is now;
// true when the view's size changed.
bool X11Platform::FitView(NativeWindow& window) {
  Window root = 0;
  int x = 0, y = 0;
  unsigned int width = 0, height = 0, border = 0, depth = 0;
  if (!XGetGeometry(display_, window.xid, &root, &x, &y, &width, &height, &border, &depth)) return false;
  int viewWidth = static_cast<int>(width);
  int viewHeight = static_cast<int>(height);
  if (static_cast<long>(viewWidth) * window.height > static_cast<long>(viewHeight) * window.width)
    viewWidth = static_cast<int>(static_cast<long>(viewHeight) * window.width / window.height);
  else
    viewHeight = static_cast<int>(static_cast<long>(viewWidth) * window.height / window.width);
  if (viewWidth <= 0 || viewHeight <= 0) return false;
  XMoveResizeWindow(display_, window.view, (static_cast<int>(width) - viewWidth) / 2,
                    (static_cast<int>(height) - viewHeight) / 2, static_cast<unsigned>(viewWidth),
                    static_cast<unsigned>(viewHeight));
  const bool changed = viewWidth != window.clientWidth || viewHeight != window.clientHeight;
  window.clientWidth = viewWidth;
  window.clientHeight = viewHeight;
  return changed;
}

// Drawing before the window is on the screen is drawing for nobody; the
// other events stay queued for the loop.
bool X11Platform::WaitUntilMapped(NativeWindow& window) {
  const auto end = std::chrono::steady_clock::now() + MapLimit;
  XEvent event;
  while (!XCheckTypedWindowEvent(display_, window.xid, MapNotify, &event)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(left.count()));
  }
  window.mapped = true;
  return true;
}

void X11Platform::SetWindowUserData(WindowHandle handle, void* data) {
  if (NativeWindow* window = Find(handle)) window->userData = data;
}

void* X11Platform::GetWindowUserData(WindowHandle handle) {
  NativeWindow* window = Find(handle);
  return window ? window->userData : nullptr;
}

// On X the drawable is the window itself.
DeviceContext X11Platform::GetDC(WindowHandle handle) { return Find(handle); }

int X11Platform::ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
  return Find(dc) && request.drawToWindow && request.supportOpenGl ? 1 : 0;
}

// X fixes a window's visual when the window is made, so the X window is
// made here, unmapped, with the pixel format asked for.
bool X11Platform::SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) {
  NativeWindow* window = Find(dc);
  if (!window || format != 1 || window->xid || visual_) return false;
  const int channel = request.colorBits >= 24 ? 8 : request.colorBits >= 15 ? 5 : 1;
  int attributes[] = {GLX_RGBA,       GLX_RED_SIZE,   channel, GLX_GREEN_SIZE, channel, GLX_BLUE_SIZE,
                      channel,        GLX_DEPTH_SIZE, request.depthBits,   GLX_STENCIL_SIZE, 0,
                      request.doubleBuffer ? GLX_DOUBLEBUFFER : 0, 0};
  XVisualInfo* info = glXChooseVisual(display_, DefaultScreen(display_), attributes);
  if (!info) return false;
  visual_ = info;
  doubleBuffered_ = request.doubleBuffer;

  const bool framed = !(window->style & StylePopup);
  const x11::FrameExtents& frame = window->adjustedBy ? *window->adjustedBy : frame_;
  int clientWidth = window->width, clientHeight = window->height;
  if (framed) {
    clientWidth -= frame.left + frame.right;
    clientHeight -= frame.top + frame.bottom;
  } else {
    window->fullScreen = displayMode_.Covers(window->width, window->height);
  }
  if (clientWidth <= 0 || clientHeight <= 0) {
    FreeVisual();
    return false;
  }
  const Window root = RootWindow(display_, info->screen);
  XSetWindowAttributes set{};
  window->colormap = XCreateColormap(display_, root, info->visual, AllocNone);
  set.colormap = window->colormap;
  set.background_pixel = BlackPixel(display_, info->screen);
  set.border_pixel = 0;
  set.event_mask = KeyPressMask | KeyReleaseMask | StructureNotifyMask | FocusChangeMask;
  window->xid = XCreateWindow(display_, root, window->x, window->y, static_cast<unsigned>(clientWidth),
                              static_cast<unsigned>(clientHeight), 0, info->depth, InputOutput, info->visual,
                              CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &set);
  if (!window->xid) {
    XFreeColormap(display_, window->colormap);
    window->colormap = 0;
    FreeVisual();
    return false;
  }
  window->view = window->xid;
  if (window->fullScreen && displayMode_.Emulating()) {
    // The window manager gives a full-screen window the output's size.
    window->view = XCreateWindow(display_, window->xid, 0, 0, static_cast<unsigned>(clientWidth),
                                 static_cast<unsigned>(clientHeight), 0, info->depth, InputOutput, info->visual,
                                 CWColormap | CWBackPixel | CWBorderPixel, &set);
    if (window->view) XMapWindow(display_, window->view);
    else window->view = window->xid;
  }
  window->clientWidth = clientWidth;
  window->clientHeight = clientHeight;
  EndingGuard::Watch(display_, window->xid);
  DescribeToX(*window);
  if (cursorCount_ < 0) ApplyCursor(*window);
  if (framed) FitInsideFrame(*window);
  return true;
}

// On Windows an outer size includes the frame. Here the frame is the window
// manager's, which says how wide it will be before the window is shown.
void X11Platform::FitInsideFrame(NativeWindow& window) {
  if (const auto extents = x11::AskFrameExtents(display_, window.xid)) frame_ = *extents;
  // A size made from a client size by AdjustWindowRect keeps that client size.
  const x11::FrameExtents& frame = window.adjustedBy ? *window.adjustedBy : frame_;
  const int width = window.width - frame.left - frame.right;
  const int height = window.height - frame.top - frame.bottom;
  if (width > 0 && height > 0 && (width != window.clientWidth || height != window.clientHeight)) {
    XResizeWindow(display_, window.xid, static_cast<unsigned>(width), static_cast<unsigned>(height));
    window.clientWidth = width;
    window.clientHeight = height;
  }
}

bool X11Platform::Translate(WindowHandle handle, Message& message) {
  XEvent event;
  XNextEvent(display_, &event);
  NativeWindow* window = Find(handle);
  if (!window || !window->xid || event.xany.window != window->xid) return false;
  message = Message{handle, 0, 0, 0};
  switch (event.type) {
    case KeyPress:
    case KeyRelease:
      message.message = event.type == KeyPress ? MsgKeyDown : MsgKeyUp;
      message.wParam = VirtualKeyOf(XLookupKeysym(&event.xkey, 0), event.xkey.keycode);
      return true;
    case ClientMessage:
      if (event.xclient.message_type == atoms_[WmProtocols] && event.xclient.format == 32 &&
          static_cast<Atom>(event.xclient.data.l[0]) == atoms_[WmDeleteWindow]) {
        message.message = MsgClose;
        return true;
      }
      if (event.xclient.message_type != atoms_[WmToggleMode]) return false;
      message.message = MsgToggleMode;
      message.wParam = static_cast<std::uintptr_t>(event.xclient.data.l[0]);
      message.lParam = static_cast<std::intptr_t>(event.xclient.data.l[1]);
      return true;
    case ConfigureNotify:
      if (window->view != window->xid && !FitView(*window)) return false;
      // Only a real change of size is a resize; X repeats sizes freely.
      if (window->view == window->xid) {
        if (event.xconfigure.width == window->clientWidth && event.xconfigure.height == window->clientHeight)
          return false;
        window->clientWidth = event.xconfigure.width;
        window->clientHeight = event.xconfigure.height;
      }
      message.message = MsgSize;
      message.wParam = SizeRestored;
      message.lParam = PackSize(window->clientWidth, window->clientHeight);
      return true;
    case UnmapNotify:
      // Iconified by the window manager.
      window->mapped = false;
      message.message = MsgSize;
      message.wParam = SizeMinimized;
      return true;
    case MapNotify:
      if (window->mapped) return false;
      window->mapped = true;
      message.message = MsgSize;
      message.wParam = SizeRestored;
      message.lParam = PackSize(window->clientWidth, window->clientHeight);
      return true;
    case DestroyNotify:
      // Destroyed by another client: as if it had been closed.
      EndingGuard::WindowGone(window->xid);
      window->xid = 0;
      message.message = MsgClose;
      return true;
    default:
      return false;
  }
}

}  // namespace renderer
