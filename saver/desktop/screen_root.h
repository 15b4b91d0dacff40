#pragma once
// The root window of the default screen of $DISPLAY; 0 without a display.
// Kept apart: Xlib's macros clash with the program's names.
namespace desktop {

unsigned long ScreenRootWindow();

}  // namespace desktop
