#include "gl_warm_up.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace renderer {

void GlWarmUp::Start() {
  if (thread_.joinable()) return;
  XInitThreads();
  thread_ = std::thread([this] {
    ::Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    if (XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes)) XFree(visual);
    display_ = display;
  });
}

void GlWarmUp::Finish() {
  if (thread_.joinable()) thread_.join();
  if (display_) XCloseDisplay(static_cast<::Display*>(display_));
  display_ = nullptr;
}

}  // namespace renderer
