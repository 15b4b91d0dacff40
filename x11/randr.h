#pragma once
// What both programs need of RandR: the desktop's output and its CRTC as a
// whole configuration, read and applied in one piece.
#include <optional>
#include <vector>

typedef struct _XDisplay Display;
typedef struct _XRRScreenResources XRRScreenResources;

namespace x11 {

// The screen resources as they are now, freed with this object.
class ScreenResources {
 public:
  explicit ScreenResources(Display* display);
  ~ScreenResources();
  ScreenResources(const ScreenResources&) = delete;
  ScreenResources& operator=(const ScreenResources&) = delete;
  XRRScreenResources* get() const { return value_; }

 private:
  XRRScreenResources* value_;
};

// The CRTC of the output that shows the desktop, and the screen around it.
struct DisplayMode {
  unsigned long crtc = 0;
  unsigned long mode = 0;
  int x = 0;
  int y = 0;
  unsigned short rotation = 1;
  std::vector<unsigned long> outputs;
  int screenWidth = 0;
  int screenHeight = 0;
  int screenWidthMm = 0;
  int screenHeightMm = 0;
};

bool HasRandr12(Display* display);
// The root window's size, asked of the server: Xlib's cached size lags
// behind RandR changes.
bool RootSize(Display* display, int& width, int& height);
// The primary output, else the first one connected and lit; 0 for none.
unsigned long DesktopOutput(Display* display, XRRScreenResources* resources);
// The size of a mode; nothing for an unknown one.
std::optional<std::pair<int, int>> ModeSize(XRRScreenResources* resources, unsigned long mode);
// The desktop output's configuration now; nothing without RandR 1.2 or
// a lit desktop output.
std::optional<DisplayMode> ReadDesktopMode(Display* display);
// Sets the screen and the CRTC to `mode`: the screen grows first and
// shrinks last, so that it holds the CRTC at every step. False when the
// server refused a step.
bool ApplyDisplayMode(Display* display, const DisplayMode& mode);

}  // namespace x11
