#include "saver/toolkit/x11/frame_extents.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <thread>
#include <vector>

namespace toolkit::x11 {
namespace {

// A manager that lists the request answers within milliseconds; this only
// bounds a faulty one.
constexpr auto kAnswerLimit = std::chrono::milliseconds(500);

std::vector<long> Cardinals(Display* display, Window window, Atom property, Atom type, long most) {
  Atom actual = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<long> values;
  if (XGetWindowProperty(display, window, property, 0, most, False, type, &actual, &format, &count, &after,
                         &data) == Success &&
      data != nullptr && actual == type && format == 32) {
    const auto* longs = reinterpret_cast<const long*>(data);
    values.assign(longs, longs + count);
  }
  if (data != nullptr) XFree(data);
  return values;
}

// A window manager runs (its check window names itself) and lists the request.
bool ManagerAnswersRequests(Display* display) {
  const Window root = DefaultRootWindow(display);
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  const std::vector<long> manager = Cardinals(display, root, check, XA_WINDOW, 1);
  if (manager.size() != 1) return false;
  {
    // A manager that has gone leaves its check window's id behind.
    ErrorTrap trap(display);
    const std::vector<long> self = Cardinals(display, static_cast<Window>(manager[0]), check, XA_WINDOW, 1);
    if (trap.Failed() || self != manager) return false;
  }
  const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
  for (long atom : Cardinals(display, root, XInternAtom(display, "_NET_SUPPORTED", False), XA_ATOM, 4096)) {
    if (static_cast<Atom>(atom) == request) return true;
  }
  return false;
}

std::optional<FrameExtents> ReadExtents(Display* display, Window window, Atom property) {
  ErrorTrap trap(display);
  const std::vector<long> v = Cardinals(display, window, property, XA_CARDINAL, 4);
  if (trap.Failed() || v.size() != 4) return std::nullopt;
  // left, right, top, bottom; a frame wider than a screen is no frame.
  if (v[0] < 0 || v[1] < 0 || v[2] < 0 || v[3] < 0 || v[0] + v[1] >= 4096 || v[2] + v[3] >= 4096) {
    return std::nullopt;
  }
  return FrameExtents{static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
                      static_cast<int>(v[3])};
}

}  // namespace

std::optional<FrameExtents> AskFrameExtents(Display* display, WindowId window) {
  if (display == nullptr || window == 0 || !ManagerAnswersRequests(display)) return std::nullopt;
  const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
  event.xclient.format = 32;
  XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
  XFlush(display);
  const auto end = std::chrono::steady_clock::now() + kAnswerLimit;
  do {
    if (auto frame = ReadExtents(display, window, extents)) return frame;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  } while (std::chrono::steady_clock::now() < end);
  return std::nullopt;
}

}  // namespace toolkit::x11
