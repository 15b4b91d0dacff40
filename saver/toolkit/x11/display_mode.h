#pragma once
// The desktop's RandR configuration, noted before the renderer switches it
// and put back when the renderer could not do so itself.
#include "x11/randr.h"

namespace toolkit::x11 {

// Puts `noted` back when the desktop's CRTC now shows a switchedWidth x
// switchedHeight mode and did not when noted: any other change since is
// the user's. Looks and sets under a server grab; true when it put it back.
bool RestoreDisplayMode(Display* display, const ::x11::DisplayMode& noted, int switchedWidth, int switchedHeight);

}  // namespace toolkit::x11
