#include "renderer/platform/x11/x11_display_mode.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <string_view>

#include "x11/randr.h"

namespace renderer {

using ::x11::ScreenResources;

bool X11DisplayMode::ScreenIs(std::int32_t width, std::int32_t height) {
  const BusyScope busy(busy_);
  return Connect() && RootSizeIs(width, height);
}

void X11DisplayMode::RestoreWithout(Display* lost) {
  if (!saved_) return;
  if (lost && lost == display_) {
    // A dead connection can only be dropped; a fresh one reaches the same
    // server, where the saved mode and CRTC are still valid.
    display_ = nullptr;
    shared_ = false;
  } else if (busy_) {
    return;
  }
  if (Connect()) Restore();
}

X11DisplayMode::~X11DisplayMode() {
  Restore();
  if (display_ && !shared_) XCloseDisplay(display_);
}

bool X11DisplayMode::Connect() {
  if (!display_) display_ = XOpenDisplay(nullptr);
  return display_ != nullptr;
}

bool X11DisplayMode::RootSize(int& width, int& height) { return ::x11::RootSize(display_, width, height); }

bool X11DisplayMode::RootSizeIs(int width, int height) {
  int w = 0, h = 0;
  return RootSize(w, h) && w == width && h == height;
}

bool X11DisplayMode::Apply(const Saved& mode) { return ::x11::ApplyDisplayMode(display_, mode); }

// Another client switching at the same moment (a second renderer) must not
// be seen half-way: what is read as the desktop's mode and the switch made
// from it are one step under a server grab.
bool X11DisplayMode::Switch(std::int32_t width, std::int32_t height) {
  const BusyScope busy(busy_);
  if (!Connect()) return false;
  XGrabServer(display_);
  const bool switched = SwitchGrabbed(width, height);
  XUngrabServer(display_);
  XFlush(display_);
  return switched;
}

bool X11DisplayMode::SwitchGrabbed(std::int32_t width, std::int32_t height) {
  if (RootSizeIs(width, height)) return true;
  if (!::x11::HasRandr12(display_)) return false;
  // A monitor of several that already shows the mode at the origin.
  if (PrimaryMonitorIs(display_, width, height)) return true;

  ScreenResources resources(display_);
  if (!resources.get()) return false;
  const RROutput output = ::x11::DesktopOutput(display_, resources.get());
  if (!output) return false;
  XRROutputInfo* outputInfo = XRRGetOutputInfo(display_, resources.get(), output);
  if (!outputInfo) return false;
  RRMode wanted = 0;
  for (int i = 0; i < outputInfo->nmode && !wanted; ++i) {
    for (int k = 0; k < resources.get()->nmode; ++k) {
      const XRRModeInfo& info = resources.get()->modes[k];
      if (info.id == outputInfo->modes[i] && static_cast<int>(info.width) == width &&
          static_cast<int>(info.height) == height) {
        wanted = info.id;
        break;
      }
    }
  }
  const RRCrtc crtc = outputInfo->crtc;
  XRRFreeOutputInfo(outputInfo);
  if (!wanted || !crtc) return false;

  // Other monitors outside the new screen keep it from shrinking: then only
  // the desktop's own monitor changes mode, and the screen keeps its size.
  bool keepScreen = emulating_;
  for (int i = 0; !keepScreen && i < resources.get()->ncrtc; ++i) {
    if (resources.get()->crtcs[i] == crtc) continue;
    XRRCrtcInfo* other = XRRGetCrtcInfo(display_, resources.get(), resources.get()->crtcs[i]);
    keepScreen = other && other->mode &&
                 (other->x + static_cast<int>(other->width) > width ||
                  other->y + static_cast<int>(other->height) > height);
    if (other) XRRFreeCrtcInfo(other);
  }

  // The desktop's configuration, the one the restore puts back.
  const std::optional<Saved> desktop = ::x11::ReadDesktopMode(display_);
  if (!desktop || desktop->crtc != crtc) return false;
  // The window opens at the origin; a desktop monitor elsewhere cannot hold it.
  if (keepScreen && !emulating_ && (desktop->x != 0 || desktop->y != 0)) return false;
  const Saved saved = *desktop;

  const int widthMm = saved.screenWidth > 0 ? saved.screenWidthMm * width / saved.screenWidth : 0;
  const int heightMm = saved.screenHeight > 0 ? saved.screenHeightMm * height / saved.screenHeight : 0;
  saved_ = saved;
  if (keepScreen) {
    // Xwayland changes no real mode: this client is shown the mode asked
    // for, and a full-screen window of its size is scaled to the output.
    Saved emulated = saved;
    emulated.mode = wanted;
    emulated.x = emulated.y = 0;
    const bool applied = Apply(emulated);
    if (applied && CrtcShows(crtc, wanted)) return true;
  } else {
    Saved switched = saved;
    switched.mode = wanted;
    switched.x = switched.y = 0;
    switched.screenWidth = width;
    switched.screenHeight = height;
    switched.screenWidthMm = widthMm;
    switched.screenHeightMm = heightMm;
    const bool applied = Apply(switched);
    if (applied && RootSizeIs(width, height)) return true;
  }
  Restore();
  return false;
}

// Xwayland reports the emulated mode to its client, at the output's size.
bool X11DisplayMode::CrtcShows(unsigned long crtc, unsigned long mode) {
  ScreenResources resources(display_);
  if (!resources.get()) return false;
  XRRCrtcInfo* info = XRRGetCrtcInfo(display_, resources.get(), crtc);
  const bool shows = info && info->mode == mode;
  if (info) XRRFreeCrtcInfo(info);
  return shows;
}

void X11DisplayMode::ShareConnection(Display* display, bool emulatedModes) {
  if (display_ || !display) return;
  display_ = display;
  shared_ = true;
  emulating_ = emulatedModes;
}

bool X11DisplayMode::IsXwayland(Display* display) {
  int eventBase = 0, errorBase = 0;
  if (!XRRQueryExtension(display, &eventBase, &errorBase)) return false;
  ScreenResources resources(display);
  if (!resources.get()) return false;
  bool xwayland = false;
  for (int i = 0; i < resources.get()->noutput && !xwayland; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources.get(), resources.get()->outputs[i]);
    xwayland = info && info->name && std::string_view(info->name).rfind("XWAYLAND", 0) == 0;
    if (info) XRRFreeOutputInfo(info);
  }
  return xwayland;
}

bool X11DisplayMode::Covers(std::int32_t width, std::int32_t height) {
  if (emulating_ && saved_) return true;
  if (ScreenIs(width, height)) return true;
  return Connect() && PrimaryMonitorIs(display_, width, height);
}

std::vector<MonitorArea> X11DisplayMode::Monitors(Display* display) {
  std::vector<MonitorArea> found;
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor) ||
      major < 1 || (major == 1 && minor < 5))
    return found;
  int count = 0;
  XRRMonitorInfo* monitors = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
  for (int i = 0; monitors && i < count; ++i)
    found.push_back(MonitorArea{monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height,
                                monitors[i].primary != 0});
  if (monitors) XRRFreeMonitors(monitors);
  return found;
}

bool X11DisplayMode::PrimaryMonitorIs(Display* display, int width, int height) {
  const auto monitors = Monitors(display);
  if (monitors.size() < 2) return false;
  const auto primary = std::find_if(monitors.begin(), monitors.end(), [](const MonitorArea& m) { return m.primary; });
  const MonitorArea& desktop = primary != monitors.end() ? *primary : monitors.front();
  return desktop.x == 0 && desktop.y == 0 && desktop.width == width && desktop.height == height;
}

void X11DisplayMode::Restore() {
  if (!saved_ || !display_) return;
  const BusyScope busy(busy_);
  const Saved saved = *saved_;
  saved_.reset();
  Apply(saved);
}

}  // namespace renderer
