#pragma once
// The frame a window manager will put around a window, learned before the
// window is first shown (_NET_REQUEST_FRAME_EXTENTS / _NET_FRAME_EXTENTS).
#include <optional>

#include "saver/toolkit/x11/connection.h"

namespace toolkit::x11 {

struct FrameExtents {
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
};

// Asks the running window manager for the frame of this unmapped window and
// waits a short while for the answer. Nothing when no window manager that
// lists the request runs, or when it does not answer in time.
std::optional<FrameExtents> AskFrameExtents(Display* display, WindowId window);

}  // namespace toolkit::x11
