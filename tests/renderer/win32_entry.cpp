// entry_check.exe: the real renderer entry (window logic, Win32 backend,
// flyer scene) in a process where Windows itself refuses a step:
//   entry_check.exe class-taken     the class "OpenGL" is already registered
//   entry_check.exe window-refused  a CBT hook vetoes the renderer's window
//   entry_check.exe dpi             the running renderer's DPI awareness and
//                                   client size, then a close request
// Prints every window creation the thread attempted, the display mode and
// the cursor count afterwards; exits with the entry's own exit code.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "renderer/platform/win32/win32_platform.h"
#include "renderer/scene.h"
#include "renderer/window.h"

namespace entry {

std::string attempts;
bool vetoRenderWindow = false;
bool reportDpi = false;
std::string dpiReport;

// Looked up at run time: Windows 10's DPI functions, absent from older systems.
template <typename Fn>
Fn User32(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

VOID CALLBACK ReportAndClose(HWND hWnd, UINT, UINT_PTR id, DWORD) {
  KillTimer(hWnd, id);
  using ThreadContextFn = HANDLE(WINAPI*)();
  using AwarenessFn = int(WINAPI*)(HANDLE);
  using WindowDpiFn = UINT(WINAPI*)(HWND);
  const auto threadContext = User32<ThreadContextFn>("GetThreadDpiAwarenessContext");
  const auto awarenessOf = User32<AwarenessFn>("GetAwarenessFromDpiAwarenessContext");
  const auto windowDpi = User32<WindowDpiFn>("GetDpiForWindow");
  // What the loader read from the program's manifest.
  using SettingsFn = BOOL(WINAPI*)(DWORD, HANDLE, const wchar_t*, const wchar_t*, wchar_t*, SIZE_T, SIZE_T*);
  const auto settings = reinterpret_cast<SettingsFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
  wchar_t declared[128] = L"";
  SIZE_T written = 0;
  if (settings)
    settings(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", declared, 128,
             &written);
  std::string manifest;
  for (const wchar_t* c = declared; *c; ++c) manifest += static_cast<char>(*c);
  RECT client{};
  GetClientRect(hWnd, &client);
  dpiReport = "manifest=" + manifest + "\nawareness=" +
              std::to_string(threadContext && awarenessOf ? awarenessOf(threadContext()) : -1) +
              "\ndpi=" + std::to_string(windowDpi ? windowDpi(hWnd) : 0) + "\nclient=" +
              std::to_string(client.right - client.left) + "," + std::to_string(client.bottom - client.top) + "\n";
  PostMessageA(hWnd, WM_CLOSE, 0, 0);
}

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
    // Measured once the window is shown and the first frames are drawn.
    if (reportDpi && std::strcmp(className, "OpenGL") == 0)
      SetTimer(reinterpret_cast<HWND>(wParam), 1, 700, ReportAndClose);
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
  } else if (mode == "dpi") {
    entry::reportDpi = true;
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
  std::printf("%s", entry::dpiReport.c_str());
  std::printf("exit=%d\n", rc);
  std::fflush(stdout);
  return rc;
}
