#pragma once
// The frame a window manager puts around a window, learned before the
// window is shown (_NET_REQUEST_FRAME_EXTENTS / _NET_FRAME_EXTENTS).
#include <optional>

typedef struct _XDisplay Display;

namespace x11 {

struct FrameExtents {
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
};

// Asks the running window manager for the frame of this unmapped window and
// waits a short while for its answer. Nothing when no window manager that
// answers such requests runs, or when it does not answer in time.
std::optional<FrameExtents> AskFrameExtents(Display* display, unsigned long window);
// The frame as the window manager last set it on the window.
std::optional<FrameExtents> CurrentFrameExtents(Display* display, unsigned long window);

}  // namespace x11
