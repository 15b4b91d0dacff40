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
  return renderer::WinMain(program, nullptr);
}
