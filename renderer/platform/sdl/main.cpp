// Tovarel.dll on Linux: the renderer as an X11 program.
#include "../../scene.h"
#include "../../window.h"
#include "sdl_platform.h"

int main() {
  renderer::SdlPlatform platform;
  renderer::FlyerScene scene(platform);
  renderer::Program program;
  program.platform = &platform;
  program.scene = &scene;
  const int code = renderer::WinMain(program, nullptr);
  // Ended in order after an X error: the desktop is back, but it failed.
  return code == 0 && platform.EndedByXError() ? 1 : code;
}
