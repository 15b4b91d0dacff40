// entry_check.exe: the real renderer entry (window logic, Win32 backend,
// flyer scene) in a process where Windows itself refuses a step:
//   entry_check.exe class-taken     the class "OpenGL" is already registered
//   entry_check.exe window-refused  a CBT hook vetoes the renderer's window
// Prints every window creation the thread attempted, the display mode and
// the cursor count afterwards; exits with the entry's own exit code.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/win32_platform.h"
#include "scene.h"
#include "window.h"

namespace entry {

std::string attempts;
bool vetoRenderWindow = false;

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    char className[256] = "";
    GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof(className));
    // Wine gives every GUI thread an IME window of its own; it is no sign.
    if (std::strcmp(className, "IME") != 0) {
      if (!attempts.empty()) attempts += ';';
      attempts += className;
    }
    if (vetoRenderWindow && std::strcmp(className, "OpenGL") == 0) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK Plain(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hWnd, message, wParam, lParam);
}

bool TakeClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = Plain;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "OpenGL";
  return RegisterClassExA(&windowClass) != 0;
}

}  // namespace entry

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string mode = argv[1];
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (mode == "class-taken") {
    if (!entry::TakeClass(instance)) return 2;
  } else if (mode == "window-refused") {
    entry::vetoRenderWindow = true;
  } else {
    return 2;
  }
  HHOOK hook = SetWindowsHookExA(WH_CBT, entry::WatchCreation, nullptr, GetCurrentThreadId());
  if (!hook) return 2;

  renderer::Win32Platform platform;
  renderer::FlyerScene scene(platform);
  renderer::Program program;
  program.platform = &platform;
  program.scene = &scene;
  const int rc = renderer::WinMain(program, instance);
  UnhookWindowsHookEx(hook);

  // ShowCursor returns the new display count; 0 is the count of a fresh thread.
  const int count = ShowCursor(TRUE) - 1;
  ShowCursor(FALSE);
  DEVMODEA current{};
  current.dmSize = sizeof(current);
  EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current);
  std::printf("created=%s\n", entry::attempts.c_str());
  std::printf("mode=%lu,%lu,%lu\n", current.dmPelsWidth, current.dmPelsHeight, current.dmBitsPerPel);
  std::printf("cursorcount=%d\n", count);
  std::printf("exit=%d\n", rc);
  std::fflush(stdout);
  return rc;
}
