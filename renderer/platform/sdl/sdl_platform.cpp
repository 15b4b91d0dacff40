#include "sdl_platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../../resources/bitmap_file.h"
#include "ending_guard.h"
#include "key_map.h"

namespace renderer {
namespace {

std::intptr_t PackSize(int width, int height) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(height & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(width & 0xFFFF));
}

}  // namespace

struct SdlPlatform::NativeWindow {
  std::string title;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  void* userData = nullptr;
  SDL_Window* sdl = nullptr;
  ::Display* xDisplay = nullptr;
  unsigned long xid = 0;
  std::optional<FrameExtents> adjustedBy;  // its size is a client size plus this
  int clientWidth = 0, clientHeight = 0;
  bool fullScreen = false;  // a popup that covers the whole screen
};

SdlPlatform::SdlPlatform() = default;

SdlPlatform::~SdlPlatform() {
  if (window_) DestroyWindow(window_);
  displayMode_.Restore();
  if (videoStarted_) SDL_Quit();
  EndingGuard::Remove();
}

bool SdlPlatform::RegisterWindowClass(InstanceHandle, const char* className, WindowProc proc) {
  // Only what the renderer uses: video, no audio, joystick or sensors.
  // The renderer reads no text, but SDL opens an X input method in the
  // user's locale, whose compose tables are the slowest part of its start.
  // In the C locale the input method costs next to nothing.
  setenv("LC_ALL", "C", 1);
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The renderer switches modes through RandR itself; SDL need not ask.
  SDL_SetHint(SDL_HINT_VIDEO_X11_XRANDR, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // An X11 program: without an X display it fails here, rather than run
  // unseen on SDL's off-screen or Wayland driver, whatever the environment
  // asks for.
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
  if (!videoStarted_) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    videoStarted_ = true;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) {
    UnregisterWindowClass(nullptr, nullptr);
    return false;
  }
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  EndingGuard::Install(displayMode_);
  className_ = className ? className : "";
  proc_ = proc;
  return true;
}

void SdlPlatform::UnregisterWindowClass(InstanceHandle, const char*) {
  proc_ = nullptr;
  displayMode_.Restore();
  if (videoStarted_) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
    videoStarted_ = false;
  }
}

bool SdlPlatform::ChangeDisplayMode(std::int32_t width, std::int32_t height, std::int32_t) {
  return displayMode_.Switch(width, height);
}

void SdlPlatform::RestoreDisplayMode() { displayMode_.Restore(); }

// Windows keeps a display count; the cursor shows while it is not negative.
void SdlPlatform::ShowCursor(bool show) {
  cursorCount_ += show ? 1 : -1;
  SDL_ShowCursor(cursorCount_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

// The frame belongs to the window manager; it is known once a window has
// been shown, and nothing before that.
void SdlPlatform::AdjustWindowRect(Rect& rect, std::uint32_t style, std::uint32_t) {
  if (style & StylePopup) return;
  rect.left -= frame_.left;
  rect.top -= frame_.top;
  rect.right += frame_.right;
  rect.bottom += frame_.bottom;
  adjustedBy_ = frame_;
}

WindowHandle SdlPlatform::NewWindow(std::uint32_t exStyle, const char*, const char* title, std::uint32_t style,
                                    std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                    InstanceHandle, void* createParam) {
  if (!videoStarted_ || window_ || width <= 0 || height <= 0) return nullptr;
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

SdlPlatform::NativeWindow* SdlPlatform::Find(WindowHandle handle) const {
  return handle && handle == window_ ? window_ : nullptr;
}

void SdlPlatform::DestroyWindow(WindowHandle handle) {
  NativeWindow* window = Find(handle);
  if (!window) return;
  EndingGuard::Watch(nullptr, 0);
  if (window->sdl) SDL_DestroyWindow(window->sdl);
  // The errors that destroying a window lost to another client brings are
  // taken now, while the guard's handler is in place: SDL puts Xlib's own,
  // which ends the process, back before it closes its connection.
  if (window->xDisplay) XSync(window->xDisplay, False);
  for (auto it = posted_.begin(); it != posted_.end();)
    it = it->hWnd == handle ? posted_.erase(it) : it + 1;
  window_ = nullptr;
  delete window;
}

void SdlPlatform::DescribeToX(NativeWindow& window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window.sdl, &info) || info.subsystem != SDL_SYSWM_X11) return;
  XClassHint hint;
  std::string name = className_;
  hint.res_name = name.data();
  hint.res_class = name.data();
  ::Display* display = info.info.x11.display;
  const ::Window xid = info.info.x11.window;
  window.xDisplay = display;
  window.xid = xid;
  EndingGuard::Watch(display, xid);
  XSetClassHint(display, xid, &hint);
  toggleAtom_ = XInternAtom(display, "WM_TOGGLEMODE", False);

  // A popup has no frame; one that covers the screen is a full-screen
  // window. Set before mapping, as window managers read them then.
  if (window.style & StylePopup) {
    const long motif[5] = {1L << 1, 0, 0, 0, 0};  // decorations: none
    const Atom motifAtom = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, xid, motifAtom, motifAtom, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
  }
  std::vector<Atom> states;
  if (window.exStyle & ExStyleTopmost) states.push_back(XInternAtom(display, "_NET_WM_STATE_ABOVE", False));
  if (window.fullScreen) states.push_back(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
  XChangeProperty(display, xid, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
  XFlush(display);
}

void SdlPlatform::ShowWindow(WindowHandle handle) {
  NativeWindow* window = Find(handle);
  if (!window || !window->sdl) return;
  SDL_ShowWindow(window->sdl);
  int top = 0, left = 0, bottom = 0, right = 0;
  if (!(window->style & StylePopup) && SDL_GetWindowBordersSize(window->sdl, &top, &left, &bottom, &right) == 0)
    frame_ = FrameExtents{left, right, top, bottom};
  SDL_GetWindowSize(window->sdl, &window->clientWidth, &window->clientHeight);
}

void SdlPlatform::SetWindowUserData(WindowHandle handle, void* data) {
  if (NativeWindow* window = Find(handle)) window->userData = data;
}

void* SdlPlatform::GetWindowUserData(WindowHandle handle) {
  NativeWindow* window = Find(handle);
  return window ? window->userData : nullptr;
}

std::intptr_t SdlPlatform::DefaultProcessing(const Message&) { return 0; }

// On X the drawable is the window itself.
DeviceContext SdlPlatform::GetDC(WindowHandle handle) { return Find(handle); }

void SdlPlatform::ReleaseDC(WindowHandle, DeviceContext) {}

int SdlPlatform::ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
  return Find(dc) && request.drawToWindow && request.supportOpenGl ? 1 : 0;
}

// X fixes a window's visual when the window is made, so the native window
// is made here, hidden, with the pixel format asked for.
bool SdlPlatform::SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) {
  NativeWindow* window = Find(dc);
  if (!window || format != 1 || window->sdl) return false;
  const int channel = request.colorBits >= 24 ? 8 : request.colorBits >= 15 ? 5 : 1;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, request.doubleBuffer ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.depthBits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);

  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  const bool framed = !(window->style & StylePopup);
  const FrameExtents& frame = window->adjustedBy ? *window->adjustedBy : frame_;
  int clientWidth = window->width - frame.left - frame.right;
  int clientHeight = window->height - frame.top - frame.bottom;
  if (!framed) {
    flags |= SDL_WINDOW_BORDERLESS;
    clientWidth = window->width;
    clientHeight = window->height;
    // SDL's idea of the desktop lags behind a switch just made.
    window->fullScreen = displayMode_.ScreenIs(window->width, window->height);
  }
  if (clientWidth <= 0 || clientHeight <= 0) return false;
  window->sdl = SDL_CreateWindow(window->title.c_str(), window->x, window->y, clientWidth, clientHeight, flags);
  if (!window->sdl) return false;
  DescribeToX(*window);
  if (framed) FitInsideFrame(*window);
  return true;
}

// On Windows an outer size includes the frame. Here the frame is the window
// manager's, which says how wide it will be before the window is shown.
void SdlPlatform::FitInsideFrame(NativeWindow& window) {
  if (const auto extents = AskFrameExtents(window.xDisplay, window.xid)) frame_ = *extents;
  // A size made from a client size by AdjustWindowRect keeps that client size.
  const FrameExtents& frame = window.adjustedBy ? *window.adjustedBy : frame_;
  const int width = window.width - frame.left - frame.right;
  const int height = window.height - frame.top - frame.bottom;
  int current = 0, currentHeight = 0;
  SDL_GetWindowSize(window.sdl, &current, &currentHeight);
  if (width > 0 && height > 0 && (width != current || height != currentHeight))
    SDL_SetWindowSize(window.sdl, width, height);
}

GlContext SdlPlatform::CreateGlContext(DeviceContext dc) {
  NativeWindow* window = Find(dc);
  if (!window || !window->sdl) return nullptr;
  return SDL_GL_CreateContext(window->sdl);
}

bool SdlPlatform::MakeCurrent(DeviceContext dc, GlContext context) {
  NativeWindow* window = Find(dc);
  if (!window || !window->sdl) return false;
  return SDL_GL_MakeCurrent(window->sdl, context) == 0;
}

void SdlPlatform::DeleteGlContext(GlContext context) {
  if (context) SDL_GL_DeleteContext(context);
}

void SdlPlatform::SwapBuffers(DeviceContext dc) {
  if (NativeWindow* window = Find(dc); window && window->sdl) SDL_GL_SwapWindow(window->sdl);
}

// Termination signals, the window's loss and X errors: a close request,
// so the usual ending restores the display mode and the cursor.
bool SdlPlatform::TakeCloseRequest(WindowHandle handle, Message& message) {
  if (!Find(handle) || !EndingGuard::TakeCloseRequest()) return false;
  message = Message{handle, MsgClose, 0, 0};
  return true;
}

bool SdlPlatform::EndedByXError() const { return EndingGuard::EndedByXError(); }

bool SdlPlatform::Translate(const void* sdlEvent, WindowHandle handle, Message& message) {
  const SDL_Event& event = *static_cast<const SDL_Event*>(sdlEvent);
  NativeWindow* window = Find(handle);
  if (!window || !window->sdl) return false;
  message = Message{handle, 0, 0, 0};
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      message.message = event.type == SDL_KEYDOWN ? MsgKeyDown : MsgKeyUp;
      message.wParam = VirtualKeyOf(event.key.keysym.sym, event.key.keysym.scancode);
      return true;
    case SDL_WINDOWEVENT:
      if (event.window.windowID != SDL_GetWindowID(window->sdl)) return false;
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          message.message = MsgClose;
          return true;
        case SDL_WINDOWEVENT_MINIMIZED:
          message.message = MsgSize;
          message.wParam = SizeMinimized;
          return true;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
          int w = 0, h = 0;
          SDL_GetWindowSize(window->sdl, &w, &h);
          // Only a real change of size is a resize; X repeats sizes freely.
          if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && w == window->clientWidth &&
              h == window->clientHeight)
            return false;
          window->clientWidth = w;
          window->clientHeight = h;
          message.message = MsgSize;
          message.wParam = event.window.event == SDL_WINDOWEVENT_MAXIMIZED ? SizeMaximized : SizeRestored;
          message.lParam = PackSize(w, h);
          return true;
        }
        default:
          return false;
      }
    case SDL_SYSWMEVENT: {
      const SDL_SysWMmsg* wm = event.syswm.msg;
      if (!wm || wm->subsystem != SDL_SYSWM_X11) return false;
      const XEvent& x = wm->msg.x11.event;
      if (x.type == DestroyNotify && window->xid && x.xdestroywindow.window == window->xid) {
        // Destroyed by another client: as if it had been closed.
        EndingGuard::WindowGone(window->xid);
        message.message = MsgClose;
        return true;
      }
      if (x.type != ClientMessage || !toggleAtom_ || x.xclient.message_type != toggleAtom_) return false;
      message.message = MsgToggleMode;
      message.wParam = static_cast<std::uintptr_t>(x.xclient.data.l[0]);
      message.lParam = static_cast<std::intptr_t>(x.xclient.data.l[1]);
      return true;
    }
    default:
      return false;
  }
}

bool SdlPlatform::PeekWindowMessage(WindowHandle handle, Message& message) {
  for (auto it = posted_.begin(); it != posted_.end(); ++it) {
    if (it->hWnd == handle) {
      message = *it;
      posted_.erase(it);
      return true;
    }
  }
  if (TakeCloseRequest(handle, message)) return true;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (Translate(&event, handle, message)) return true;
  }
  return false;
}

void SdlPlatform::DispatchWindowMessage(const Message& message) {
  if (proc_ && Find(message.hWnd)) proc_(message.hWnd, message.message, message.wParam, message.lParam);
}

// Wakes for events, posted messages and close requests; the short timeout
// lets a signal end the wait without costing any real time.
void SdlPlatform::WaitMessage() {
  while (posted_.empty() && !EndingGuard::CloseRequested()) {
    if (SDL_WaitEventTimeout(nullptr, 250)) return;
  }
}

void SdlPlatform::PostQuit(WindowHandle handle) {
  if (Find(handle)) posted_.push_back(Message{handle, MsgQuit, 0, 0});
}

std::uint32_t SdlPlatform::GetTickCount() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SdlPlatform::Sleep(std::uint32_t milliseconds) { SDL_Delay(milliseconds); }

std::optional<Bitmap> SdlPlatform::LoadBitmapResource(int resourceId) {
  const auto view = FindBitmapResource(resourceId);
  if (!view) return std::nullopt;
  return Bitmap{view->width, view->height, view->rows, nullptr};
}

void SdlPlatform::FreeBitmap(const Bitmap&) {}

}  // namespace renderer
