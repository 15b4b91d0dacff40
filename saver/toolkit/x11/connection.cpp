#include "saver/toolkit/x11/connection.h"

#include <X11/Xlib.h>

namespace toolkit::x11 {

Display* OpenDisplay() {
  Display* display = XOpenDisplay(nullptr);
  // Xlib's default handler prints and exits; ours is process-wide.
  if (display != nullptr) InstallErrorHandler();
  return display;
}

void InstallErrorHandler() { ::x11::IgnoreErrorsOutsideTraps(); }

void CloseDisplay(Display* display) {
  if (display != nullptr) XCloseDisplay(display);
}

void FlushDisplay(Display* display) {
  if (display != nullptr) XFlush(display);
}

void SyncDisplay(Display* display) {
  if (display != nullptr) XSync(display, False);
}

}  // namespace toolkit::x11
