#pragma once
// Finding a window by its title on an X display, the way the Windows build
// uses FindWindowA with no class name: whole title, case not regarded.
#include <string_view>

typedef struct _XDisplay Display;

namespace x11 {

// Walks the whole window tree of every screen, comparing WM_NAME and
// _NET_WM_NAME without regard to case; unmapped windows count. Windows that vanish
// during the walk are skipped.
bool WindowWithTitleExists(Display* display, std::string_view title);

}  // namespace x11
