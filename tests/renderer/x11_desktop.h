#pragma once
// What other clients on the renderer's desktop may do to it: kill its
// connection, destroy its window, run a window manager that frames it.
#include <optional>
#include <string>
#include <vector>

#include "tools/xclient/x11_client.h"

namespace testsupport {

// XKillClient on the connection that made the window, as xkill -id does.
bool KillClientOf(Display* display, xclient::XWindow window);
// XDestroyWindow from this connection, not the owner's.
bool DestroyWindowOf(Display* display, xclient::XWindow window);
// The window as the screen shows it: its top-level ancestor, which is the
// window manager's frame when one runs, and that frame's root geometry.
std::optional<xclient::Geometry> OuterGeometryOf(Display* display, xclient::XWindow window);
// The root's mapped children, bottom to top, with their WM_NAME ("" for none)
// and root geometry. Without a window manager these are the clients' windows.
struct TopLevel {
  xclient::XWindow window = 0;
  std::string title;
  xclient::Geometry geometry;
  bool overrideRedirect = false;
};
std::vector<TopLevel> MappedTopLevels(Display* display);
// The geometry of a window's first child, in the window's coordinates.
std::optional<xclient::Geometry> ChildGeometryOf(Display* display, xclient::XWindow window);
// A RandR monitor over part of the screen, as `xrandr --setmonitor` makes
// one; it lasts as long as this connection. The first output, if asked
// for, moves from its own monitor to this one.
bool SetMonitor(Display* display, const char* name, const xclient::Geometry& area, bool withOutput, bool primary);
// The window that has the keyboard focus.
xclient::XWindow FocusWindow(Display* display);
// An EWMH window manager has announced itself on the root window.
bool WindowManagerRunning(Display* display);

}  // namespace testsupport
