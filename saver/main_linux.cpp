// Tovarel.scr on Linux: drawing in an idle daemon's window, or everything
// starts in Main as on Windows.
#include <cstdlib>

#include "saver/desktop/daemon_run.h"
#include "saver/modes.h"
#include "saver/startup.h"
#include "saver/toolkit/qt/qt_application.h"
#include "x11/window_id.h"

int main(int argc, char** argv) {
  toolkit::qt::QtApplication app(argc, argv);
  // Started by an idle daemon to draw in its window, or as Windows would.
  const auto target = desktop::DrawTargetOf(app.CommandLine(), std::getenv(x11::kDaemonWindowVariable));
  if (target) {
    if (!desktop::StartDaemonRun(app, *target)) return 1;
  } else {
    // A run of our own opens the renderer's own window.
    unsetenv(x11::kDaemonWindowVariable);
    saver::Main(app, saver::ProgramModes());
  }
  return app.RunEventLoop();
}
