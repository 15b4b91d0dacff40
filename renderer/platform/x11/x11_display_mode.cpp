#include "x11_display_mode.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <string_view>

#include "x11/error_trap.h"

namespace renderer {
namespace {

struct ScreenResources {
  explicit ScreenResources(Display* display)
      : value(XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display))) {}
  ~ScreenResources() {
    if (value) XRRFreeScreenResources(value);
  }
  XRRScreenResources* value;
};

RROutput DesktopOutput(Display* display, XRRScreenResources* resources) {
  const RROutput primary = XRRGetOutputPrimary(display, DefaultRootWindow(display));
  if (primary) return primary;
  for (int i = 0; i < resources->noutput; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    const bool usable = info && info->crtc && info->connection == RR_Connected;
    if (info) XRRFreeOutputInfo(info);
    if (usable) return resources->outputs[i];
  }
  return 0;
}

}  // namespace

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

// Asked of the server: Xlib's cached screen size lags behind RandR changes.
bool X11DisplayMode::RootSize(int& width, int& height) {
  Window root;
  int x, y;
  unsigned int w, h, border, depth;
  if (!XGetGeometry(display_, DefaultRootWindow(display_), &root, &x, &y, &w, &h, &border, &depth)) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

bool X11DisplayMode::RootSizeIs(int width, int height) {
  int w = 0, h = 0;
  return RootSize(w, h) && w == width && h == height;
}

bool X11DisplayMode::Apply(unsigned long crtc, unsigned long mode, int x, int y, unsigned short rotation,
                           const std::vector<unsigned long>& outputs, int width, int height, int widthMm,
                           int heightMm) {
  ScreenResources resources(display_);
  if (!resources.value) return false;
  x11::ErrorTrap trap(display_);
  const Window root = DefaultRootWindow(display_);
  int currentWidth = 0, currentHeight = 0;
  if (!RootSize(currentWidth, currentHeight)) return false;
  const bool grows = width > currentWidth || height > currentHeight;
  const bool resizes = width != currentWidth || height != currentHeight;
  // The screen must hold the CRTC at every step: grow first, shrink last.
  if (grows) XRRSetScreenSize(display_, root, width, height, widthMm, heightMm);
  std::vector<RROutput> list(outputs.begin(), outputs.end());
  XRRSetCrtcConfig(display_, resources.value, crtc, CurrentTime, x, y, mode, rotation, list.data(),
                   static_cast<int>(list.size()));
  if (resizes && !grows) XRRSetScreenSize(display_, root, width, height, widthMm, heightMm);
  return !trap.Failed();
}

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
  int eventBase, errorBase, major = 0, minor = 0;
  if (!XRRQueryExtension(display_, &eventBase, &errorBase) || !XRRQueryVersion(display_, &major, &minor) ||
      major < 1 || (major == 1 && minor < 2))
    return false;
  // A monitor of several that already shows the mode at the origin.
  if (PrimaryMonitorIs(display_, width, height)) return true;

  ScreenResources resources(display_);
  if (!resources.value) return false;
  const RROutput output = DesktopOutput(display_, resources.value);
  if (!output) return false;
  XRROutputInfo* outputInfo = XRRGetOutputInfo(display_, resources.value, output);
  if (!outputInfo) return false;
  RRMode wanted = 0;
  for (int i = 0; i < outputInfo->nmode && !wanted; ++i) {
    for (int k = 0; k < resources.value->nmode; ++k) {
      const XRRModeInfo& info = resources.value->modes[k];
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
  for (int i = 0; !keepScreen && i < resources.value->ncrtc; ++i) {
    if (resources.value->crtcs[i] == crtc) continue;
    XRRCrtcInfo* other = XRRGetCrtcInfo(display_, resources.value, resources.value->crtcs[i]);
    keepScreen = other && other->mode &&
                 (other->x + static_cast<int>(other->width) > width ||
                  other->y + static_cast<int>(other->height) > height);
    if (other) XRRFreeCrtcInfo(other);
  }

  XRRCrtcInfo* crtcInfo = XRRGetCrtcInfo(display_, resources.value, crtc);
  if (!crtcInfo) return false;
  // The window opens at the origin; a desktop monitor elsewhere cannot hold it.
  if (keepScreen && !emulating_ && (crtcInfo->x != 0 || crtcInfo->y != 0)) {
    XRRFreeCrtcInfo(crtcInfo);
    return false;
  }
  Saved saved;
  saved.crtc = crtc;
  saved.mode = crtcInfo->mode;
  saved.x = crtcInfo->x;
  saved.y = crtcInfo->y;
  saved.rotation = crtcInfo->rotation;
  saved.outputs.assign(crtcInfo->outputs, crtcInfo->outputs + crtcInfo->noutput);
  XRRFreeCrtcInfo(crtcInfo);
  const int screen = DefaultScreen(display_);
  if (!RootSize(saved.screenWidth, saved.screenHeight)) return false;
  saved.screenWidthMm = DisplayWidthMM(display_, screen);
  saved.screenHeightMm = DisplayHeightMM(display_, screen);

  const int widthMm = saved.screenWidth > 0 ? saved.screenWidthMm * width / saved.screenWidth : 0;
  const int heightMm = saved.screenHeight > 0 ? saved.screenHeightMm * height / saved.screenHeight : 0;
  saved_ = saved;
  if (keepScreen) {
    // Xwayland changes no real mode: this client is shown the mode asked
    // for, and a full-screen window of its size is scaled to the output.
    const bool applied = Apply(crtc, wanted, 0, 0, saved.rotation, saved.outputs, saved.screenWidth,
                               saved.screenHeight, saved.screenWidthMm, saved.screenHeightMm);
    if (applied && CrtcShows(crtc, wanted)) return true;
  } else {
    const bool applied = Apply(crtc, wanted, 0, 0, saved.rotation, saved.outputs, width, height, widthMm, heightMm);
    if (applied && RootSizeIs(width, height)) return true;
  }
  Restore();
  return false;
}

// Xwayland reports the emulated mode to its client, at the output's size.
bool X11DisplayMode::CrtcShows(unsigned long crtc, unsigned long mode) {
  ScreenResources resources(display_);
  if (!resources.value) return false;
  XRRCrtcInfo* info = XRRGetCrtcInfo(display_, resources.value, crtc);
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
  if (!resources.value) return false;
  bool xwayland = false;
  for (int i = 0; i < resources.value->noutput && !xwayland; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources.value, resources.value->outputs[i]);
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
  Apply(saved.crtc, saved.mode, saved.x, saved.y, saved.rotation, saved.outputs, saved.screenWidth,
        saved.screenHeight, saved.screenWidthMm, saved.screenHeightMm);
}

}  // namespace renderer
