#pragma once
// The caption zoom of the settings dialog on X11: a few outlines between two
// rectangles, drawn inverted on the root window over everything and erased
// again, about 200 ms in all.
#include "saver/toolkit/x11/screen_query.h"

namespace toolkit::x11 {

inline constexpr int kZoomSteps = 8;
inline constexpr int kZoomStepMs = 25;
inline constexpr int kZoomLimitMs = 240;

// The outline of step `step` (1 ... kZoomSteps) between the two rectangles.
RootRect ZoomStep(const RootRect& from, const RootRect& to, int step);

// Draws the animation and returns when it is done; nothing without a display.
void DrawZoom(Display* display, const RootRect& from, const RootRect& to);

}  // namespace toolkit::x11
