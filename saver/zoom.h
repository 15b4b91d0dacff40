#pragma once
// The caption zoom of the settings dialog: from the pointer's position at
// the dialog's load out to the window, and back in to that point.
#include <cstdint>

#include "saver/toolkit/toolkit.h"

namespace saver {

inline std::int16_t ZoomPointX = 0;
inline std::int16_t ZoomPointY = 0;

void ZoomOpen(toolkit::Application& app, toolkit::WindowHandle window);
void ZoomClose(toolkit::Application& app, toolkit::WindowHandle window);

}  // namespace saver
