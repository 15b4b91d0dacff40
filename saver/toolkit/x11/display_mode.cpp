#include "saver/toolkit/x11/display_mode.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <utility>

namespace toolkit::x11 {
namespace {

struct Grab {
  explicit Grab(Display* display) : display_(display) { XGrabServer(display_); }
  ~Grab() {
    XUngrabServer(display_);
    XSync(display_, False);
  }
  Display* display_;
};

// The size of the mode the CRTC shows now.
std::optional<std::pair<int, int>> ShownSize(Display* display, unsigned long crtc) {
  ::x11::ScreenResources resources(display);
  if (resources.get() == nullptr) return std::nullopt;
  XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources.get(), crtc);
  if (info == nullptr) return std::nullopt;
  const RRMode mode = info->mode;
  XRRFreeCrtcInfo(info);
  return ::x11::ModeSize(resources.get(), mode);
}

}  // namespace

bool RestoreDisplayMode(Display* display, const ::x11::DisplayMode& noted, int switchedWidth, int switchedHeight) {
  if (display == nullptr) return false;
  const std::pair switched{switchedWidth, switchedHeight};
  {
    ::x11::ScreenResources resources(display);
    if (resources.get() == nullptr || ::x11::ModeSize(resources.get(), noted.mode) == switched) return false;
  }
  const Grab grab(display);
  if (ShownSize(display, noted.crtc) != switched) return false;
  return ::x11::ApplyDisplayMode(display, noted);
}

}  // namespace toolkit::x11
