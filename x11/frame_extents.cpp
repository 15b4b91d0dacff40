#include "x11/frame_extents.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <thread>

#include "x11/error_trap.h"

namespace x11 {
namespace {

// Only a window manager that says it answers is asked; one that says so
// answers within milliseconds, so this only bounds a faulty one.
constexpr auto AnswerLimit = std::chrono::milliseconds(500);

std::optional<Window> WindowProperty(Display* display, Window window, Atom property) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::optional<Window> result;
  if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &after,
                         &data) == Success &&
      data && type == XA_WINDOW && format == 32 && count == 1)
    result = reinterpret_cast<unsigned long*>(data)[0];
  if (data) XFree(data);
  return result;
}

// A window manager runs (its check window names itself) and lists the request.
bool ManagerAnswersRequests(Display* display) {
  const Window root = DefaultRootWindow(display);
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  const auto manager = WindowProperty(display, root, check);
  if (!manager) return false;
  {
    // A manager that has gone leaves its check window's id behind.
    ErrorTrap trap(display);
    const auto self = WindowProperty(display, *manager, check);
    if (trap.Failed() || self != manager) return false;
  }
  const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool listed = false;
  if (XGetWindowProperty(display, root, XInternAtom(display, "_NET_SUPPORTED", False), 0, 4096, False, XA_ATOM,
                         &type, &format, &count, &after, &data) == Success &&
      data && type == XA_ATOM && format == 32) {
    const auto* atoms = reinterpret_cast<unsigned long*>(data);
    for (unsigned long i = 0; i < count && !listed; ++i) listed = atoms[i] == request;
  }
  if (data) XFree(data);
  return listed;
}

std::optional<FrameExtents> ReadExtents(Display* display, Window window, Atom property) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::optional<FrameExtents> result;
  if (XGetWindowProperty(display, window, property, 0, 4, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success &&
      data && type == XA_CARDINAL && format == 32 && count == 4) {
    const auto* v = reinterpret_cast<long*>(data);
    // left, right, top, bottom; a frame wider than a screen is no frame.
    if (v[0] >= 0 && v[1] >= 0 && v[2] >= 0 && v[3] >= 0 && v[0] + v[1] < 4096 && v[2] + v[3] < 4096)
      result = FrameExtents{static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
                            static_cast<int>(v[3])};
  }
  if (data) XFree(data);
  return result;
}

}  // namespace

std::optional<FrameExtents> AskFrameExtents(Display* display, unsigned long window) {
  if (!display || !window || !ManagerAnswersRequests(display)) return std::nullopt;
  const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
  event.xclient.format = 32;
  XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
  XFlush(display);
  // Read, not waited for as an event: the events stay queued for the loop.
  const auto end = std::chrono::steady_clock::now() + AnswerLimit;
  do {
    if (auto frame = ReadExtents(display, window, extents)) return frame;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  } while (std::chrono::steady_clock::now() < end);
  return std::nullopt;
}

std::optional<FrameExtents> CurrentFrameExtents(Display* display, unsigned long window) {
  if (!display || !window) return std::nullopt;
  return ReadExtents(display, window, XInternAtom(display, "_NET_FRAME_EXTENTS", False));
}

}  // namespace x11
