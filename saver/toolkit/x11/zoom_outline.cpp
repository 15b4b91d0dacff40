#include "saver/toolkit/x11/zoom_outline.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace toolkit::x11 {
namespace {

int Between(int a, int b, int step) { return a + (b - a) * step / kZoomSteps; }

void Outline(Display* display, Window root, GC gc, const RootRect& rect) {
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  // An empty rectangle at a point still shows as a dot.
  XDrawRectangle(display, root, gc, rect.left, rect.top,
                 static_cast<unsigned>(width > 1 ? width - 1 : 0),
                 static_cast<unsigned>(height > 1 ? height - 1 : 0));
}

}  // namespace

RootRect ZoomStep(const RootRect& from, const RootRect& to, int step) {
  return RootRect{Between(from.left, to.left, step), Between(from.top, to.top, step),
                  Between(from.right, to.right, step), Between(from.bottom, to.bottom, step)};
}

void DrawZoom(Display* display, const RootRect& from, const RootRect& to) {
  if (display == nullptr) return;
  ErrorTrap trap(display);
  Window root = DefaultRootWindow(display);
  XGCValues values{};
  values.function = GXxor;
  values.foreground = WhitePixel(display, DefaultScreen(display)) ^
                      BlackPixel(display, DefaultScreen(display));
  values.subwindow_mode = IncludeInferiors;
  values.line_width = 2;
  GC gc = XCreateGC(display, root, GCFunction | GCForeground | GCSubwindowMode | GCLineWidth,
                    &values);
  // Each outline shows for one step and is erased by drawing it again. A
  // slow server shortens the animation rather than the dialog waiting.
  const auto start = std::chrono::steady_clock::now();
  const auto lastStart = start + std::chrono::milliseconds(kZoomLimitMs - kZoomStepMs);
  for (int step = 1; step <= kZoomSteps && std::chrono::steady_clock::now() <= lastStart;
       ++step) {
    RootRect rect = ZoomStep(from, to, step);
    Outline(display, root, gc, rect);
    XFlush(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(kZoomStepMs));
    Outline(display, root, gc, rect);
  }
  XFreeGC(display, gc);
  XFlush(display);
}

}  // namespace toolkit::x11
