#pragma once
// The plain Xlib connection of the saver program. Kept apart from Qt code:
// Xlib's macros (Bool, Status, CursorShape...) clash with Qt's headers.
typedef struct _XDisplay Display;

namespace toolkit::x11 {

// An X window id, without Xlib's headers.
using WindowId = unsigned long;

// The display of $DISPLAY, or null. Every connection made here reports
// protocol errors to a handler that only counts them: a window of another
// client may vanish under any request, and that must never end the program.
Display* OpenDisplay();
void CloseDisplay(Display* display);
void FlushDisplay(Display* display);
// Sends what is queued and waits until the server has done it.
void SyncDisplay(Display* display);
// Puts the counting handler back: Qt's xcb platform sets its own when it
// opens its Xlib display.
void InstallErrorHandler();

// Counts the X errors of the requests made while it lives (it syncs at
// both ends).
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display);
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;
  // Syncs and tells whether any request since the start failed.
  bool Failed();

 private:
  Display* display_;
  unsigned long start_;
};

}  // namespace toolkit::x11
