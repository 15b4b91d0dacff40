#pragma once
// What the saver asks about the screen: the pointer, the window under a
// point, a window's outer rectangle. Null displays and vanished windows give
// nothing.
#include <optional>

#include "saver/toolkit/x11/connection.h"

namespace toolkit::x11 {

struct RootPoint {
  int x = 0;
  int y = 0;
};

// Right and bottom exclusive.
struct RootRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

std::optional<RootPoint> PointerPosition(Display* display);

// The pointer and, from the same request, the root's child under it (0 where
// there is none): one round trip.
struct PointerQuery {
  RootPoint at;
  WindowId topLevel = 0;
};
std::optional<PointerQuery> QueryPointer(Display* display);

WindowId RootOf(Display* display);

// The root's child that contains the point, or 0.
WindowId TopLevelAt(Display* display, int x, int y);

// One step down: the mapped child of `window` that contains the root point,
// or 0 (also for a window that has gone).
WindowId ChildAt(Display* display, WindowId window, int x, int y);

// The deepest mapped window that contains the point, as WindowFromPoint
// gives it; the root window where no other is, 0 without a display.
WindowId WindowAt(Display* display, int x, int y);

// The window's rectangle in root coordinates, with the frame a window
// manager announces in _NET_FRAME_EXTENTS (on it or on the frame around it).
std::optional<RootRect> OuterRect(Display* display, WindowId window);

// The window's parent, or nothing when it does not exist.
std::optional<WindowId> ParentOf(Display* display, WindowId window);

bool WindowAlive(Display* display, WindowId window);

}  // namespace toolkit::x11
