#include "x11_error_trap.h"

#include <X11/Xlib.h>

namespace renderer {
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

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display) {
  trappedDisplay = display;
  trappedError = false;
  previousHandler = XSetErrorHandler(TrapError);
}

X11ErrorTrap::~X11ErrorTrap() {
  if (display_) XSync(display_, False);
  XSetErrorHandler(previousHandler);
  trappedDisplay = nullptr;
}

bool X11ErrorTrap::Failed() {
  XSync(display_, False);
  return trappedError;
}

}  // namespace renderer
