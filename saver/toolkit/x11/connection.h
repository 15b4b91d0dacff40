#pragma once
// The plain Xlib connection of the saver program. Kept apart from Qt code:
// Xlib's macros (Bool, Status, CursorShape...) clash with Qt's headers.
#include "x11/error_trap.h"

typedef struct _XDisplay Display;

namespace toolkit::x11 {

// An X window id, without Xlib's headers.
using WindowId = unsigned long;

// The display of $DISPLAY, or null. Every connection made here leaves
// protocol errors outside a trap to a handler that ignores them: a window of
// another client may vanish under any request, and that must never end the
// program.
Display* OpenDisplay();
void CloseDisplay(Display* display);
void FlushDisplay(Display* display);
// Sends what is queued and waits until the server has done it.
void SyncDisplay(Display* display);
// Puts that handler back: Qt's xcb platform sets its own when it opens its
// Xlib display.
void InstallErrorHandler();

// Takes the X errors of the requests made on its display while it lives;
// those of earlier requests are not its own (it syncs at both ends).
class ErrorTrap : public ::x11::ErrorTrap {
 public:
  explicit ErrorTrap(Display* display) : ::x11::ErrorTrap(display, Earlier::Excluded) {}
};

}  // namespace toolkit::x11
