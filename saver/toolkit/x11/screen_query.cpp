#include "saver/toolkit/x11/screen_query.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace toolkit::x11 {
namespace {

struct FrameExtents {
  long left = 0;
  long right = 0;
  long top = 0;
  long bottom = 0;
};

std::optional<FrameExtents> ReadFrameExtents(Display* display, Window window) {
  Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", True);
  if (extents == None) return std::nullopt;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, extents, 0, 4, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) != Success) {
    return std::nullopt;
  }
  std::optional<FrameExtents> result;
  if (data != nullptr && format == 32 && count == 4) {
    const long* values = reinterpret_cast<const long*>(data);
    result = FrameExtents{values[0], values[1], values[2], values[3]};
  }
  if (data != nullptr) XFree(data);
  return result;
}

}  // namespace

std::optional<RootPoint> PointerPosition(Display* display) {
  std::optional<PointerQuery> query = QueryPointer(display);
  if (!query) return std::nullopt;
  return query->at;
}

std::optional<PointerQuery> QueryPointer(Display* display) {
  if (display == nullptr) return std::nullopt;
  Window root = 0;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  int winX = 0;
  int winY = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &winX,
                     &winY, &mask)) {
    return std::nullopt;  // the pointer is on another screen
  }
  return PointerQuery{RootPoint{rootX, rootY}, child};
}

// No error trap around these: the connection's handler counts errors and
// goes on, and a window destroyed on the way answers with no child. A trap
// would cost two more round trips, and the hover timers ask ten times a
// second each.
WindowId ChildAt(Display* display, WindowId window, int x, int y) {
  if (display == nullptr || window == 0) return 0;
  Window child = None;
  int childX = 0;
  int childY = 0;
  if (!XTranslateCoordinates(display, DefaultRootWindow(display), window, x, y, &childX, &childY, &child)) {
    return 0;
  }
  return child;
}

WindowId RootOf(Display* display) { return display == nullptr ? 0 : DefaultRootWindow(display); }

WindowId TopLevelAt(Display* display, int x, int y) {
  return display == nullptr ? 0 : ChildAt(display, DefaultRootWindow(display), x, y);
}

WindowId WindowAt(Display* display, int x, int y) {
  if (display == nullptr) return 0;
  WindowId current = DefaultRootWindow(display);
  for (int depth = 0; depth < 64; ++depth) {
    const WindowId child = ChildAt(display, current, x, y);
    if (child == 0) break;
    current = child;
  }
  return current;
}

std::optional<RootRect> OuterRect(Display* display, WindowId window) {
  if (display == nullptr || window == 0) return std::nullopt;
  ErrorTrap trap(display);
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes) || trap.Failed()) return std::nullopt;
  Window child = None;
  int rootX = 0;
  int rootY = 0;
  if (!XTranslateCoordinates(display, window, attributes.root, 0, 0, &rootX, &rootY, &child) ||
      trap.Failed()) {
    return std::nullopt;
  }
  RootRect rect{rootX, rootY, rootX + attributes.width, rootY + attributes.height};

  // A window manager puts the extents on the client window; walk up to the
  // top-level under the root to find them.
  Window current = window;
  for (int depth = 0; depth < 16; ++depth) {
    if (auto extents = ReadFrameExtents(display, current)) {
      rect.left -= static_cast<int>(extents->left);
      rect.top -= static_cast<int>(extents->top);
      rect.right += static_cast<int>(extents->right);
      rect.bottom += static_cast<int>(extents->bottom);
      break;
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, current, &root, &parent, &children, &count)) break;
    if (children != nullptr) XFree(children);
    if (parent == root || parent == None) break;
    current = parent;
  }
  if (trap.Failed()) return std::nullopt;
  return rect;
}

std::optional<WindowId> ParentOf(Display* display, WindowId window) {
  if (display == nullptr || window == 0) return std::nullopt;
  ErrorTrap trap(display);
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  Status ok = XQueryTree(display, window, &root, &parent, &children, &count);
  if (children != nullptr) XFree(children);
  if (!ok || trap.Failed()) return std::nullopt;
  return parent;
}

bool WindowAlive(Display* display, WindowId window) {
  if (display == nullptr || window == 0) return false;
  ErrorTrap trap(display);
  XWindowAttributes attributes{};
  Status ok = XGetWindowAttributes(display, window, &attributes);
  return ok != 0 && !trap.Failed();
}

}  // namespace toolkit::x11
