#include "x11/error_trap.h"

#include <X11/Xlib.h>

namespace x11 {
namespace {

Display* trappedDisplay = nullptr;
bool trappedError = false;
int (*previousHandler)(Display*, XErrorEvent*) = nullptr;

int TrapError(Display* display, XErrorEvent* event) {
  if (display == trappedDisplay) {
    trappedError = true;
    return 0;
  }
  return previousHandler ? previousHandler(display, event) : 0;
}

}  // namespace

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
  trappedDisplay = display;
  trappedError = false;
  previousHandler = XSetErrorHandler(TrapError);
}

ErrorTrap::~ErrorTrap() {
  if (display_) XSync(display_, False);
  XSetErrorHandler(previousHandler);
  trappedDisplay = nullptr;
}

bool ErrorTrap::Failed() {
  XSync(display_, False);
  return trappedError;
}

}  // namespace x11
