#pragma once
// The plain Xlib connection of the saver program. Kept apart from Qt code:
// Xlib's macros (Bool, Status, CursorShape...) clash with Qt's headers.
typedef struct _XDisplay Display;

namespace toolkit::x11 {

Display* OpenDisplay();  // the display of $DISPLAY, or null
void CloseDisplay(Display* display);
void FlushDisplay(Display* display);

}  // namespace toolkit::x11
