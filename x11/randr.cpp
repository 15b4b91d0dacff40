#include "x11/randr.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "x11/error_trap.h"

namespace x11 {

ScreenResources::ScreenResources(Display* display)
    : value_(XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display))) {}

ScreenResources::~ScreenResources() {
  if (value_ != nullptr) XRRFreeScreenResources(value_);
}

bool HasRandr12(Display* display) {
  int eventBase, errorBase, major = 0, minor = 0;
  return XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
         (major > 1 || (major == 1 && minor >= 2));
}

bool RootSize(Display* display, int& width, int& height) {
  Window root;
  int x, y;
  unsigned int w, h, border, depth;
  if (!XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &w, &h, &border, &depth)) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

unsigned long DesktopOutput(Display* display, XRRScreenResources* resources) {
  if (const RROutput primary = XRRGetOutputPrimary(display, DefaultRootWindow(display))) return primary;
  for (int i = 0; i < resources->noutput; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    const bool lit = info != nullptr && info->crtc != 0 && info->connection == RR_Connected;
    if (info != nullptr) XRRFreeOutputInfo(info);
    if (lit) return resources->outputs[i];
  }
  return 0;
}

std::optional<std::pair<int, int>> ModeSize(XRRScreenResources* resources, unsigned long mode) {
  for (int i = 0; i < resources->nmode; ++i) {
    if (resources->modes[i].id == mode)
      return std::pair{static_cast<int>(resources->modes[i].width), static_cast<int>(resources->modes[i].height)};
  }
  return std::nullopt;
}

std::optional<DisplayMode> ReadDesktopMode(Display* display) {
  if (display == nullptr || !HasRandr12(display)) return std::nullopt;
  ScreenResources resources(display);
  if (resources.get() == nullptr) return std::nullopt;
  const RROutput output = DesktopOutput(display, resources.get());
  XRROutputInfo* outputInfo = output != 0 ? XRRGetOutputInfo(display, resources.get(), output) : nullptr;
  if (outputInfo == nullptr) return std::nullopt;
  const RRCrtc crtc = outputInfo->crtc;
  XRRFreeOutputInfo(outputInfo);
  XRRCrtcInfo* crtcInfo = crtc != 0 ? XRRGetCrtcInfo(display, resources.get(), crtc) : nullptr;
  if (crtcInfo == nullptr) return std::nullopt;
  DisplayMode read;
  read.crtc = crtc;
  read.mode = crtcInfo->mode;
  read.x = crtcInfo->x;
  read.y = crtcInfo->y;
  read.rotation = crtcInfo->rotation;
  read.outputs.assign(crtcInfo->outputs, crtcInfo->outputs + crtcInfo->noutput);
  XRRFreeCrtcInfo(crtcInfo);
  if (!RootSize(display, read.screenWidth, read.screenHeight)) return std::nullopt;
  read.screenWidthMm = DisplayWidthMM(display, DefaultScreen(display));
  read.screenHeightMm = DisplayHeightMM(display, DefaultScreen(display));
  return read;
}

bool ApplyDisplayMode(Display* display, const DisplayMode& mode) {
  ScreenResources resources(display);
  if (resources.get() == nullptr) return false;
  ErrorTrap trap(display);
  const Window root = DefaultRootWindow(display);
  int width = 0, height = 0;
  if (!RootSize(display, width, height)) return false;
  const int wideWidth = std::max(width, mode.screenWidth), wideHeight = std::max(height, mode.screenHeight);
  if (wideWidth != width || wideHeight != height)
    XRRSetScreenSize(display, root, wideWidth, wideHeight, mode.screenWidthMm, mode.screenHeightMm);
  std::vector<RROutput> outputs(mode.outputs.begin(), mode.outputs.end());
  XRRSetCrtcConfig(display, resources.get(), mode.crtc, CurrentTime, mode.x, mode.y, mode.mode, mode.rotation,
                   outputs.data(), static_cast<int>(outputs.size()));
  if (wideWidth != mode.screenWidth || wideHeight != mode.screenHeight)
    XRRSetScreenSize(display, root, mode.screenWidth, mode.screenHeight, mode.screenWidthMm, mode.screenHeightMm);
  return !trap.Failed();
}

}  // namespace x11
