#include "x_input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <thread>

namespace wine_harness {

bool HoldKey(const std::string& displayName, const char* keysymName, int holdMs) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return false;
  bool done = false;
  const KeySym sym = XStringToKeysym(keysymName);
  const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
  if (code) {
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
    done = true;
  }
  XCloseDisplay(display);
  return done;
}

}  // namespace wine_harness
