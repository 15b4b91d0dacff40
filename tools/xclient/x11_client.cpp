#include "tools/xclient/x11_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/scrnsaver.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace xclient {
namespace {

std::optional<std::string> StringProperty(Display* display, XWindow window, Atom property, Atom type) {
  Atom actualType;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, property, 0, 4096, False, type, &actualType, &format, &count, &after,
                         &data) != Success || !data)
    return std::nullopt;
  std::optional<std::string> value;
  if (format == 8) value = std::string(reinterpret_cast<char*>(data), count);
  XFree(data);
  return value;
}

bool TitleMatches(Display* display, XWindow window, const std::string& title) {
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  if (auto name = StringProperty(display, window, netName, utf8); name && *name == title) return true;
  auto name = StringProperty(display, window, XA_WM_NAME, AnyPropertyType);
  return name && *name == title;
}

std::optional<XWindow> Search(Display* display, XWindow window, const std::string& title) {
  if (TitleMatches(display, window, title)) return window;
  Window root, parent;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return std::nullopt;
  std::optional<XWindow> found;
  for (unsigned int i = 0; i < count && !found; ++i) found = Search(display, children[i], title);
  if (children) XFree(children);
  return found;
}

// The renderer may vanish while it is being looked at.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

struct QuietErrors {
  QuietErrors() : previous(XSetErrorHandler(IgnoreErrors)) {}
  ~QuietErrors() { XSetErrorHandler(previous); }
  int (*previous)(Display*, XErrorEvent*);
};

}  // namespace

std::optional<XWindow> FindWindowByTitle(Display* display, const std::string& title) {
  QuietErrors quiet;
  auto found = Search(display, DefaultRootWindow(display), title);
  XSync(display, False);
  return found;
}

bool SendClientMessage(Display* display, XWindow window, const char* typeAtom, long data0, long data1) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, typeAtom, False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = data0;
  event.xclient.data.l[1] = data1;
  QuietErrors quiet;
  const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  return sent != 0;
}

bool SendDeleteWindow(Display* display, XWindow window) {
  const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  return SendClientMessage(display, window, "WM_PROTOCOLS", static_cast<long>(deleteWindow), CurrentTime);
}

bool TapKey(Display* display, const char* keysymName, int holdMs) {
  const KeySym sym = XStringToKeysym(keysymName);
  if (sym == NoSymbol) return false;
  const KeyCode code = XKeysymToKeycode(display, sym);
  if (!code) return false;
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XSync(display, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  XSync(display, False);
  return true;
}

bool MovePointer(Display* display, int x, int y) {
  XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
  XSync(display, False);
  return true;
}

bool PointerButton(Display* display, unsigned button, bool down) {
  const bool sent = XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime) != 0;
  XSync(display, False);
  return sent;
}

std::optional<Geometry> RootGeometryOf(Display* display, XWindow window) {
  QuietErrors quiet;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return std::nullopt;
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  return Geometry{x, y, attributes.width, attributes.height};
}

std::string ClassOf(Display* display, XWindow window) {
  QuietErrors quiet;
  XClassHint hint{};
  if (!XGetClassHint(display, window, &hint)) return {};
  std::string value = hint.res_class ? hint.res_class : "";
  if (hint.res_name) XFree(hint.res_name);
  if (hint.res_class) XFree(hint.res_class);
  return value;
}

bool HasNetWmState(Display* display, XWindow window, const char* stateAtom) {
  QuietErrors quiet;
  const Atom wanted = XInternAtom(display, stateAtom, False);
  Atom actualType;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), 0, 64, False, XA_ATOM,
                         &actualType, &format, &count, &after, &data) != Success || !data)
    return false;
  bool found = false;
  const auto* atoms = reinterpret_cast<const Atom*>(data);
  for (unsigned long i = 0; i < count; ++i) found = found || atoms[i] == wanted;
  XFree(data);
  return found;
}

bool WantsDecorations(Display* display, XWindow window) {
  QuietErrors quiet;
  const Atom hints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  Atom actualType;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, hints, 0, 5, False, AnyPropertyType, &actualType, &format, &count,
                         &after, &data) != Success || !data)
    return true;
  const auto* values = reinterpret_cast<const long*>(data);
  constexpr long DecorationsFlag = 1L << 1;
  const bool decorated = count < 3 || !(values[0] & DecorationsFlag) || values[2] != 0;
  XFree(data);
  return decorated;
}

bool IsMapped(Display* display, XWindow window) {
  QuietErrors quiet;
  XWindowAttributes attributes;
  return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

std::optional<Image> Capture(Display* display, XWindow window) {
  QuietErrors quiet;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return std::nullopt;
  return CaptureArea(display, window, 0, 0, attributes.width, attributes.height);
}

std::optional<Image> CaptureArea(Display* display, XWindow window, int x, int y, int width, int height) {
  QuietErrors quiet;
  XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                            AllPlanes, ZPixmap);
  if (!image) return std::nullopt;
  Image out;
  out.width = width;
  out.height = height;
  out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
  auto shiftOf = [](unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
      mask >>= 1;
      ++shift;
    }
    return shift;
  };
  const int rs = shiftOf(image->red_mask), gs = shiftOf(image->green_mask), bs = shiftOf(image->blue_mask);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      std::uint8_t* p = &out.rgb[(static_cast<std::size_t>(y) * out.width + x) * 3];
      p[0] = static_cast<std::uint8_t>((pixel & image->red_mask) >> rs);
      p[1] = static_cast<std::uint8_t>((pixel & image->green_mask) >> gs);
      p[2] = static_cast<std::uint8_t>((pixel & image->blue_mask) >> bs);
    }
  }
  XDestroyImage(image);
  return out;
}

std::optional<Geometry> ScreenSize(Display* display) {
  return RootGeometryOf(display, DefaultRootWindow(display));
}

Display* OpenDisplay() { return XOpenDisplay(nullptr); }

void CloseDisplay(Display* display) {
  if (display) XCloseDisplay(display);
}

void SetScreenSaverTimeout(Display* display, int seconds) {
  XSetScreenSaver(display, seconds, 0, DontPreferBlanking, AllowExposures);
  XSync(display, False);
}

void ResetScreenSaver(Display* display) {
  XResetScreenSaver(display);
  XSync(display, False);
}

bool ScreenSaverShowing(Display* display) {
  XScreenSaverInfo* info = XScreenSaverAllocInfo();
  if (!info) return false;
  const bool on = XScreenSaverQueryInfo(display, DefaultRootWindow(display), info) && info->state == ScreenSaverOn;
  XFree(info);
  return on;
}

}  // namespace xclient
