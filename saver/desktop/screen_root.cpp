#include "saver/desktop/screen_root.h"

#include <X11/Xlib.h>

namespace desktop {

unsigned long ScreenRootWindow() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 0;
  const unsigned long root = DefaultRootWindow(display);
  XCloseDisplay(display);
  return root;
}

}  // namespace desktop
