// Tovarel.dll on Linux: the renderer as an X11 program. Given a daemon's
// window in $XSCREENSAVER_WINDOW it draws inside that window; otherwise it
// opens its own.
#include <cstdlib>

#include "renderer/scene.h"
#include "renderer/window.h"
#include "x11/window_id.h"
#include "renderer/platform/x11/daemon_window_platform.h"
#include "renderer/platform/x11/x11_platform.h"

namespace {

template <typename SystemPlatform>
int Run(SystemPlatform& platform) {
  renderer::FlyerScene scene(platform);
  renderer::Program program;
  program.platform = &platform;
  program.scene = &scene;
  const int code = renderer::WinMain(program, nullptr);
  // Ended in order after an X error: the desktop is back, but it failed.
  return code == 0 && platform.EndedByXError() ? 1 : code;
}

}  // namespace

int main() {
  const char* daemonWindow = std::getenv(x11::kDaemonWindowVariable);
  if (daemonWindow != nullptr && *daemonWindow != '\0') {
    // A window that cannot be read is refused as a missing display is.
    const auto window = x11::ParseWindowId(daemonWindow);
    if (!window) return -1;
    renderer::DaemonWindowPlatform platform(*window);
    return Run(platform);
  }
  renderer::X11Platform platform;
  return Run(platform);
}
