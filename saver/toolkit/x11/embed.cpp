#include "saver/toolkit/x11/embed.h"

#include <X11/Xlib.h>

#include "saver/toolkit/x11/screen_query.h"

namespace toolkit::x11 {

bool ReparentInto(Display* display, WindowId window, WindowId host) {
  if (display == nullptr || window == 0 || host == 0) return false;
  {
    ErrorTrap trap(display);
    XReparentWindow(display, window, host, 0, 0);
    if (trap.Failed()) return false;
  }
  std::optional<WindowId> parent = ParentOf(display, window);
  return parent && *parent == host;
}

}  // namespace toolkit::x11
