#include "renderer/platform/x11/x11_platform_base.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <thread>

#include "renderer/resources/bitmap_file.h"
#include "renderer/platform/x11/ending_guard.h"
#include "x11/error_trap.h"

namespace renderer {

std::intptr_t PackSize(int width, int height) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(height & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(width & 0xFFFF));
}

GlContext X11PlatformBase::CreateGlContext(DeviceContext dc) {
  if (!DrawableOf(dc) || !visual_) return nullptr;
  x11::ErrorTrap trap(display_);
  GLXContext context = glXCreateContext(display_, static_cast<XVisualInfo*>(visual_), nullptr, True);
  if (trap.Failed() && context) {
    glXDestroyContext(display_, context);
    return nullptr;
  }
  return context;
}

bool X11PlatformBase::MakeCurrent(DeviceContext dc, GlContext context) {
  if (!display_) return false;
  const unsigned long drawable = DrawableOf(dc);
  // Released even when the window has gone; what a last flush to a window
  // another client destroyed brings is expected, and taken here.
  x11::ErrorTrap trap(display_);
  if (!context) return glXMakeCurrent(display_, None, nullptr) && !trap.Failed();
  if (!drawable) return false;
  return glXMakeCurrent(display_, drawable, static_cast<GLXContext>(context)) && !trap.Failed();
}

void X11PlatformBase::DeleteGlContext(GlContext context) {
  if (context && display_) glXDestroyContext(display_, static_cast<GLXContext>(context));
}

void X11PlatformBase::SwapBuffers(DeviceContext dc) {
  const unsigned long drawable = DrawableOf(dc);
  if (!drawable) return;
  if (doubleBuffered_) glXSwapBuffers(display_, drawable);
  else glFlush();
}

void X11PlatformBase::FreeVisual() {
  if (visual_) XFree(visual_);
  visual_ = nullptr;
}

void X11PlatformBase::DropPosted(WindowHandle window) {
  for (auto it = posted_.begin(); it != posted_.end();) it = it->hWnd == window ? posted_.erase(it) : it + 1;
}

bool X11PlatformBase::PeekWindowMessage(WindowHandle window, Message& message) {
  for (auto it = posted_.begin(); it != posted_.end(); ++it) {
    if (it->hWnd == window) {
      message = *it;
      posted_.erase(it);
      return true;
    }
  }
  if (!Owns(window) || !display_) return false;
  // Termination signals, the window's loss and X errors: a close request,
  // so the usual ending restores the display mode and the cursor.
  if (EndingGuard::TakeCloseRequest()) {
    message = Message{window, MsgClose, 0, 0};
    return true;
  }
  while (XPending(display_) > 0) {
    if (Translate(window, message)) return true;
  }
  return false;
}

void X11PlatformBase::DispatchWindowMessage(const Message& message) {
  if (proc_ && Owns(message.hWnd)) proc_(message.hWnd, message.message, message.wParam, message.lParam);
}

// Wakes for events, posted messages and close requests; the short timeout
// lets a signal end the wait.
void X11PlatformBase::WaitMessage() {
  while (posted_.empty() && !EndingGuard::CloseRequested() && display_) {
    if (XPending(display_) > 0) return;
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    if (poll(&connection, 1, 250) > 0) return;
  }
}

void X11PlatformBase::PostQuit(WindowHandle window) {
  if (Owns(window)) posted_.push_back(Message{window, MsgQuit, 0, 0});
}

std::uint32_t X11PlatformBase::GetTickCount() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void X11PlatformBase::Sleep(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::optional<Bitmap> X11PlatformBase::LoadBitmapResource(int resourceId) {
  const auto view = FindBitmapResource(resourceId);
  if (!view) return std::nullopt;
  return Bitmap{view->width, view->height, view->rows, nullptr};
}

bool X11PlatformBase::EndedByXError() const { return EndingGuard::EndedByXError(); }

}  // namespace renderer
