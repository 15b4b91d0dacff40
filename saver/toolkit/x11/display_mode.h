#pragma once
// The desktop's RandR configuration, noted before the renderer switches it
// and put back when the renderer could not do so itself.
#include <optional>
#include <vector>

typedef struct _XDisplay Display;

namespace toolkit::x11 {

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

// The screen and the CRTC of the output that shows the desktop (the
// primary, else the first one lit); nothing without RandR 1.2.
std::optional<DisplayMode> ReadDisplayMode(Display* display);

// Puts `noted` back when the screen is now exactly switchedWidth x
// switchedHeight and was not when noted. Looks and sets under a server grab.
// True when it put it back.
bool RestoreDisplayMode(Display* display, const DisplayMode& noted, int switchedWidth, int switchedHeight);

}  // namespace toolkit::x11
