#include "tests/wine/x_screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace wine_harness {
namespace {

int ShiftOf(unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

bool Titled(Display* display, Window window, const std::string& title) {
  char* name = nullptr;
  const bool match = XFetchName(display, window, &name) && name && title == name;
  if (name) XFree(name);
  return match;
}

Window FindIn(Display* display, Window window, const std::string& title) {
  if (Titled(display, window, title)) return window;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && !found; ++i) found = FindIn(display, children[i], title);
  if (children) XFree(children);
  return found;
}

}  // namespace

std::optional<ScreenPixels> CaptureScreen(const std::string& displayName, int x, int y, int width, int height) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return std::nullopt;
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  std::optional<ScreenPixels> out;
  if (image) {
    ScreenPixels pixels{width, height, {}};
    const int rs = ShiftOf(image->red_mask), gs = ShiftOf(image->green_mask), bs = ShiftOf(image->blue_mask);
    for (int row = 0; row < height; ++row)
      for (int column = 0; column < width; ++column) {
        const unsigned long p = XGetPixel(image, column, row);
        pixels.rgb.push_back(static_cast<std::uint32_t>(((p & image->red_mask) >> rs) << 16 |
                                                        ((p & image->green_mask) >> gs) << 8 |
                                                        ((p & image->blue_mask) >> bs)));
      }
    XDestroyImage(image);
    out = std::move(pixels);
  }
  XCloseDisplay(display);
  return out;
}

bool XWindowExists(const std::string& displayName, const std::string& title) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return false;
  // Windows may vanish during the walk.
  auto previous = XSetErrorHandler(IgnoreErrors);
  const bool found = FindIn(display, DefaultRootWindow(display), title) != 0;
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return found;
}

bool XWindowMapped(const std::string& displayName, const std::string& title) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return false;
  auto previous = XSetErrorHandler(IgnoreErrors);
  const Window window = FindIn(display, DefaultRootWindow(display), title);
  XWindowAttributes attributes{};
  const bool mapped = window && XGetWindowAttributes(display, window, &attributes) &&
                      attributes.map_state == IsViewable;
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return mapped;
}

bool SendDeleteWindow(const std::string& displayName, const std::string& title) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return false;
  auto previous = XSetErrorHandler(IgnoreErrors);
  const Window window = FindIn(display, DefaultRootWindow(display), title);
  if (window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
  }
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return window != 0;
}

}  // namespace wine_harness
