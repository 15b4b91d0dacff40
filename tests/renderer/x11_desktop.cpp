#include "x11_desktop.h"

#include <X11/Xlib.h>

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

}  // namespace testsupport
