#pragma once
// The title lookup lives in the X11 library both programs share; the
// toolkit's backends name it as their own.
#include "x11/window_lookup.h"

namespace toolkit::x11 {

using ::x11::WindowWithTitleExists;

}  // namespace toolkit::x11
