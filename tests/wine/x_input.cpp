#include "tests/wine/x_input.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
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

bool MovePointer(const std::string& displayName, int x, int y) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return false;
  XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
  XSync(display, False);
  XCloseDisplay(display);
  return true;
}

bool ClickAt(const std::string& displayName, int x, int y, int button, int holdMs) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return false;
  XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
  XSync(display, False);
  // The window under the pointer hears the move before the press.
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  XTestFakeButtonEvent(display, static_cast<unsigned>(button), True, CurrentTime);
  XSync(display, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
  XTestFakeButtonEvent(display, static_cast<unsigned>(button), False, CurrentTime);
  XSync(display, False);
  XCloseDisplay(display);
  return true;
}

namespace {

bool Titled(Display* display, Window window, const std::string& title) {
  char* name = nullptr;
  const bool match = XFetchName(display, window, &name) && name && title == name;
  if (name) XFree(name);
  return match;
}

bool FocusIsIn(Display* display, const std::string& title) {
  Window window = 0;
  int revert = 0;
  XGetInputFocus(display, &window, &revert);
  while (window != None && window != PointerRoot) {
    if (Titled(display, window, title)) return true;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
    if (children) XFree(children);
    if (parent == root) return false;
    window = parent;
  }
  return false;
}

}  // namespace

bool WaitForFocus(const std::string& displayName, const std::string& title, int timeoutMs) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return false;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  bool focused = false;
  while (!(focused = FocusIsIn(display, title)) && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  XCloseDisplay(display);
  return focused;
}

}  // namespace wine_harness
