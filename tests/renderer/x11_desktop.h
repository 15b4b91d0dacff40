#pragma once
// What other clients on the renderer's desktop may do to it: kill its
// connection, destroy its window.
#include "x11_client.h"

namespace testsupport {

// XKillClient on the connection that made the window, as xkill -id does.
bool KillClientOf(Display* display, xclient::XWindow window);
// XDestroyWindow from this connection, not the owner's.
bool DestroyWindowOf(Display* display, xclient::XWindow window);

}  // namespace testsupport
