#pragma once
// The saver's run for a Linux idle daemon: the renderer draws inside the
// daemon's window, the music of Tovarel.ini plays (in one copy per display,
// never in a preview), and the run ends with its renderer or with a
// termination signal. No single-copy check: a daemon starts one copy for
// each monitor.
#include "saver/desktop/draw_target.h"
#include "saver/toolkit/toolkit.h"

namespace desktop {

// Held by the one copy per display that plays the music.
inline constexpr std::string_view kMusicClaim = "_TOVAREL_MUSIC";
// A daemon's window smaller than this either way is a settings preview.
inline constexpr toolkit::Size kPreviewLimit{640, 480};

// Loads the settings and the run form. False, with a line on standard
// error, when the run cannot start (no window, no display, no renderer).
bool StartDaemonRun(toolkit::Application& app, DrawTarget target);

}  // namespace desktop
