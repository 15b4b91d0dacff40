#include "saver/zoom.h"

namespace saver {
namespace {

toolkit::ScreenRect ZoomPoint() { return {ZoomPointX, ZoomPointY, ZoomPointX, ZoomPointY}; }

}  // namespace

// Results are ignored, as the system's animation may be switched off; a
// window whose rectangle cannot be read is not animated.
void ZoomOpen(toolkit::Application& app, toolkit::WindowHandle window) {
  if (auto rect = app.WindowRect(window)) app.ZoomRects(window, ZoomPoint(), *rect);
}

void ZoomClose(toolkit::Application& app, toolkit::WindowHandle window) {
  if (auto rect = app.WindowRect(window)) app.ZoomRects(window, *rect, ZoomPoint());
}

}  // namespace saver
