#include "saver/toolkit/x11/window_lookup.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <vector>

namespace toolkit::x11 {
namespace {

// Windows of other clients may be destroyed while we look at them.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

bool PropertyEquals(Display* display, Window window, Atom property, std::string_view title) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  // Read one byte more than the title: a longer name must not match.
  long words = static_cast<long>(title.size() / 4 + 2);
  if (XGetWindowProperty(display, window, property, 0, words, False, AnyPropertyType, &type,
                         &format, &count, &after, &data) != Success) {
    return false;
  }
  bool equal = data != nullptr && format == 8 && after == 0 && count == title.size() &&
               std::string_view(reinterpret_cast<char*>(data), count) == title;
  if (data != nullptr) XFree(data);
  return equal;
}

}  // namespace

bool WindowWithTitleExists(Display* display, std::string_view title) {
  if (display == nullptr) return false;
  XSync(display, False);
  XErrorHandler previous = XSetErrorHandler(IgnoreErrors);
  Atom wmName = XA_WM_NAME;
  Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);

  std::vector<Window> pending;
  for (int screen = 0; screen < ScreenCount(display); ++screen) {
    pending.push_back(RootWindow(display, screen));
  }
  bool found = false;
  while (!pending.empty() && !found) {
    Window window = pending.back();
    pending.pop_back();
    found = PropertyEquals(display, window, netWmName, title) ||
            PropertyEquals(display, window, wmName, title);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int childCount = 0;
    if (!found && XQueryTree(display, window, &root, &parent, &children, &childCount) != 0) {
      pending.insert(pending.end(), children, children + childCount);
    }
    if (children != nullptr) XFree(children);
  }
  XSync(display, False);
  XSetErrorHandler(previous);
  return found;
}

}  // namespace toolkit::x11
