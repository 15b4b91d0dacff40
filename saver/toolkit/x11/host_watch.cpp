#include "saver/toolkit/x11/host_watch.h"

#include <X11/Xlib.h>

namespace toolkit::x11 {

HostWatch::~HostWatch() { CloseDisplay(display_); }

bool HostWatch::Start(WindowId host) {
  if (display_ != nullptr || host == 0) return false;
  display_ = OpenDisplay();
  if (display_ == nullptr) return false;
  bool failed = false;
  {
    ErrorTrap trap(display_);
    XSelectInput(display_, host, StructureNotifyMask);
    XWindowAttributes attributes{};
    failed = !XGetWindowAttributes(display_, host, &attributes) || trap.Failed();
  }
  if (failed) {
    CloseDisplay(display_);
    display_ = nullptr;
    return false;
  }
  host_ = host;
  return true;
}

int HostWatch::Fd() const { return display_ != nullptr ? ConnectionNumber(display_) : -1; }

bool HostWatch::HostGone() {
  if (display_ == nullptr) return gone_;
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == host_) gone_ = true;
  }
  return gone_;
}

}  // namespace toolkit::x11
