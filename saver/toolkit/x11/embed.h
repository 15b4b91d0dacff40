#pragma once
// Moving our window into a foreign one.
#include "saver/toolkit/x11/connection.h"

namespace toolkit::x11 {

// XReparentWindow to (0, 0) inside `host`, then checks that the window
// really is the host's child now. False when either window is gone.
bool ReparentInto(Display* display, WindowId window, WindowId host);

}  // namespace toolkit::x11
