#pragma once
// Linux desktops: the idle daemon's window the saver is to draw in, when an
// idle daemon started it. xscreensaver runs its hacks with -root (or
// -window-id N in a preview) and names the window in $XSCREENSAVER_WINDOW.
// None of this is part of the Windows command line; Main never sees it.
#include <optional>
#include <string_view>

namespace desktop {

struct DrawTarget {
  // The window to draw in; 0 when the request named none that can be read.
  unsigned long window = 0;
  // -root without a daemon's window: the screen's own root window.
  bool root = false;
  friend bool operator==(const DrawTarget&, const DrawTarget&) = default;
};

// Nothing when the program was not started to draw in another's window:
// then the command line is the saver's own (/s, /c, /p ...). A daemon's
// window in the environment counts for a run (/s or no letter), not for
// the settings or the preview.
std::optional<DrawTarget> DrawTargetOf(std::string_view commandLine, const char* daemonWindow);

}  // namespace desktop
