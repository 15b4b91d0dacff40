#include "tests/renderer/x11_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace testsupport {
namespace {

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

struct QuietErrors {
  QuietErrors() : previous(XSetErrorHandler(IgnoreErrors)) {}
  ~QuietErrors() { XSetErrorHandler(previous); }
  int (*previous)(Display*, XErrorEvent*);
};

}  // namespace

bool KillClientOf(Display* display, xclient::XWindow window) {
  QuietErrors quiet;
  XKillClient(display, window);
  return XSync(display, False) != 0;
}

bool DestroyWindowOf(Display* display, xclient::XWindow window) {
  QuietErrors quiet;
  XDestroyWindow(display, window);
  return XSync(display, False) != 0;
}

std::optional<xclient::Geometry> OuterGeometryOf(Display* display, xclient::XWindow window) {
  QuietErrors quiet;
  const Window root = DefaultRootWindow(display);
  Window top = window;
  for (;;) {
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, top, &rootReturn, &parent, &children, &count)) return std::nullopt;
    if (children) XFree(children);
    if (parent == root || parent == 0) break;
    top = parent;
  }
  Window rootReturn = 0;
  int x = 0, y = 0;
  unsigned int width = 0, height = 0, border = 0, depth = 0;
  if (!XGetGeometry(display, top, &rootReturn, &x, &y, &width, &height, &border, &depth)) return std::nullopt;
  return xclient::Geometry{x, y, static_cast<int>(width + 2 * border), static_cast<int>(height + 2 * border)};
}

std::vector<TopLevel> MappedTopLevels(Display* display) {
  QuietErrors quiet;
  std::vector<TopLevel> found;
  Window rootReturn = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &rootReturn, &parent, &children, &count)) return found;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable) continue;
    TopLevel top;
    top.window = children[i];
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name) {
      top.title = name;
      XFree(name);
    }
    top.geometry = xclient::Geometry{a.x, a.y, a.width, a.height};
    top.overrideRedirect = a.override_redirect != 0;
    found.push_back(top);
  }
  if (children) XFree(children);
  return found;
}

std::optional<xclient::Geometry> ChildGeometryOf(Display* display, xclient::XWindow window) {
  QuietErrors quiet;
  Window rootReturn = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &rootReturn, &parent, &children, &count)) return std::nullopt;
  const Window child = count > 0 ? children[0] : 0;
  if (children) XFree(children);
  XWindowAttributes a;
  if (!child || !XGetWindowAttributes(display, child, &a)) return std::nullopt;
  return xclient::Geometry{a.x, a.y, a.width, a.height};
}

bool SetMonitor(Display* display, const char* name, const xclient::Geometry& area, bool withOutput, bool primary) {
  QuietErrors quiet;
  const Window root = DefaultRootWindow(display);
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (!resources) return false;
  RROutput output = resources->noutput > 0 ? resources->outputs[0] : 0;
  XRRMonitorInfo monitor{};
  monitor.name = XInternAtom(display, name, False);
  monitor.primary = primary;
  monitor.x = area.x;
  monitor.y = area.y;
  monitor.width = area.width;
  monitor.height = area.height;
  monitor.mwidth = area.width * 254 / 960;  // 96 dpi
  monitor.mheight = area.height * 254 / 960;
  monitor.noutput = withOutput && output ? 1 : 0;
  monitor.outputs = withOutput && output ? &output : nullptr;
  XRRSetMonitor(display, root, &monitor);
  XRRFreeScreenResources(resources);
  return XSync(display, False) != 0;
}

xclient::XWindow FocusWindow(Display* display) {
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  return focus;
}

bool WindowManagerRunning(Display* display) {
  QuietErrors quiet;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const bool found = XGetWindowProperty(display, DefaultRootWindow(display),
                                        XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), 0, 1, False,
                                        XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
                     data && count == 1;
  if (data) XFree(data);
  return found;
}

}  // namespace testsupport
