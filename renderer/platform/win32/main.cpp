// Tovarel.dll on Windows: a GUI program despite its file name.
#include <windows.h>

#include "renderer/scene.h"
#include "renderer/window.h"
#include "renderer/platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  renderer::Win32Platform platform;
  renderer::FlyerScene scene(platform);
  renderer::Program program;
  program.platform = &platform;
  program.scene = &scene;
  return renderer::WinMain(program, instance);
}
