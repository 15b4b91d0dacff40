#include "saver/toolkit/x11/connection.h"

#include <X11/Xlib.h>

namespace toolkit::x11 {

Display* OpenDisplay() { return XOpenDisplay(nullptr); }

void CloseDisplay(Display* display) {
  if (display != nullptr) XCloseDisplay(display);
}

void FlushDisplay(Display* display) {
  if (display != nullptr) XFlush(display);
}

}  // namespace toolkit::x11
