#pragma once
// A small X client for scripting and testing the renderer from outside:
// find a window by title, send it the requests it serves, press keys,
// read its state and take screenshots.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

typedef struct _XDisplay Display;

namespace xclient {

using XWindow = unsigned long;

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // top-down rows, 3 bytes a pixel
};

struct Geometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Exact match of WM_NAME or _NET_WM_NAME anywhere in the window tree.
std::optional<XWindow> FindWindowByTitle(Display* display, const std::string& title);
bool SendDeleteWindow(Display* display, XWindow window);
bool SendClientMessage(Display* display, XWindow window, const char* typeAtom, long data0 = 0, long data1 = 0);
// Press, hold and release through XTEST, as a user's keyboard would. The
// renderer reads keys once a frame, so a press needs to last past one.
bool TapKey(Display* display, const char* keysymName, int holdMs = 100);
bool MovePointer(Display* display, int x, int y);
// A mouse button (1 left, 2 middle, 3 right) going down or up, through XTEST.
bool PointerButton(Display* display, unsigned button, bool down);
std::optional<Geometry> RootGeometryOf(Display* display, XWindow window);
std::string ClassOf(Display* display, XWindow window);
bool HasNetWmState(Display* display, XWindow window, const char* stateAtom);
// Decorations asked for through _MOTIF_WM_HINTS; none asked means decorated.
bool WantsDecorations(Display* display, XWindow window);
bool IsMapped(Display* display, XWindow window);
std::optional<Image> Capture(Display* display, XWindow window);
// A part of a window, in the window's coordinates.
std::optional<Image> CaptureArea(Display* display, XWindow window, int x, int y, int width, int height);
std::optional<Geometry> ScreenSize(Display* display);

Display* OpenDisplay();  // the one $DISPLAY names
void CloseDisplay(Display* display);
// The core X screen saver: its timeout, a user-activity reset, and whether
// it is showing now (MIT-SCREEN-SAVER).
void SetScreenSaverTimeout(Display* display, int seconds);
void ResetScreenSaver(Display* display);
bool ScreenSaverShowing(Display* display);

}  // namespace xclient
