#pragma once
// Hides the pointer on the whole screen through XFixes. The server shows it
// again by itself when this client's connection goes, so a host that dies
// never leaves the pointer hidden.
#include "saver/toolkit/x11/connection.h"

namespace toolkit::x11 {

// False when the server has no XFixes 4 or there is no display.
bool HidePointer(Display* display);
bool ShowPointer(Display* display);

}  // namespace toolkit::x11
