#include "saver/toolkit/x11/display_mode.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "saver/toolkit/x11/connection.h"

namespace toolkit::x11 {
namespace {

struct Resources {
  explicit Resources(Display* display) : value(XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display))) {}
  ~Resources() {
    if (value != nullptr) XRRFreeScreenResources(value);
  }
  XRRScreenResources* value;
};

RROutput DesktopOutput(Display* display, XRRScreenResources* resources) {
  if (const RROutput primary = XRRGetOutputPrimary(display, DefaultRootWindow(display))) return primary;
  for (int i = 0; i < resources->noutput; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    const bool lit = info != nullptr && info->crtc != 0 && info->connection == RR_Connected;
    if (info != nullptr) XRRFreeOutputInfo(info);
    if (lit) return resources->outputs[i];
  }
  return 0;
}

// Asked of the server: Xlib's cached screen size lags behind RandR changes.
bool RootSize(Display* display, int& width, int& height) {
  Window root;
  int x, y;
  unsigned int w, h, border, depth;
  if (!XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &w, &h, &border, &depth)) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

bool HasRandr12(Display* display) {
  int eventBase, errorBase, major = 0, minor = 0;
  return XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
         (major > 1 || (major == 1 && minor >= 2));
}

struct Grab {
  explicit Grab(Display* display) : display_(display) { XGrabServer(display_); }
  ~Grab() {
    XUngrabServer(display_);
    XSync(display_, False);
  }
  Display* display_;
};

}  // namespace

std::optional<DisplayMode> ReadDisplayMode(Display* display) {
  if (display == nullptr || !HasRandr12(display)) return std::nullopt;
  Resources resources(display);
  if (resources.value == nullptr) return std::nullopt;
  const RROutput output = DesktopOutput(display, resources.value);
  XRROutputInfo* outputInfo = output != 0 ? XRRGetOutputInfo(display, resources.value, output) : nullptr;
  if (outputInfo == nullptr) return std::nullopt;
  const RRCrtc crtc = outputInfo->crtc;
  XRRFreeOutputInfo(outputInfo);
  XRRCrtcInfo* crtcInfo = crtc != 0 ? XRRGetCrtcInfo(display, resources.value, crtc) : nullptr;
  if (crtcInfo == nullptr) return std::nullopt;
  DisplayMode noted;
  noted.crtc = crtc;
  noted.mode = crtcInfo->mode;
  noted.x = crtcInfo->x;
  noted.y = crtcInfo->y;
  noted.rotation = crtcInfo->rotation;
  noted.outputs.assign(crtcInfo->outputs, crtcInfo->outputs + crtcInfo->noutput);
  XRRFreeCrtcInfo(crtcInfo);
  if (!RootSize(display, noted.screenWidth, noted.screenHeight)) return std::nullopt;
  noted.screenWidthMm = DisplayWidthMM(display, DefaultScreen(display));
  noted.screenHeightMm = DisplayHeightMM(display, DefaultScreen(display));
  return noted;
}

bool RestoreDisplayMode(Display* display, const DisplayMode& noted, int switchedWidth, int switchedHeight) {
  if (display == nullptr) return false;
  if (noted.screenWidth == switchedWidth && noted.screenHeight == switchedHeight) return false;
  const Grab grab(display);
  int width = 0, height = 0;
  if (!RootSize(display, width, height) || width != switchedWidth || height != switchedHeight) return false;
  Resources resources(display);
  if (resources.value == nullptr) return false;
  ErrorTrap trap(display);
  const Window root = DefaultRootWindow(display);
  // The screen must hold the CRTC at every step: grow first, shrink last.
  const int wideWidth = std::max(width, noted.screenWidth), wideHeight = std::max(height, noted.screenHeight);
  if (wideWidth != width || wideHeight != height)
    XRRSetScreenSize(display, root, wideWidth, wideHeight, noted.screenWidthMm, noted.screenHeightMm);
  std::vector<RROutput> outputs(noted.outputs.begin(), noted.outputs.end());
  XRRSetCrtcConfig(display, resources.value, noted.crtc, CurrentTime, noted.x, noted.y, noted.mode, noted.rotation,
                   outputs.data(), static_cast<int>(outputs.size()));
  if (wideWidth != noted.screenWidth || wideHeight != noted.screenHeight)
    XRRSetScreenSize(display, root, noted.screenWidth, noted.screenHeight, noted.screenWidthMm, noted.screenHeightMm);
  return !trap.Failed();
}

}  // namespace toolkit::x11
