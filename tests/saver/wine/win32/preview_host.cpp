// saver_preview_host.exe WIDTH HEIGHT HOLD_MS: a window standing in for the Display
// control panel's preview area, as a program of its own. It prints its
// handle, waits for a child window to come into it, reports what the system
// says of that child, keeps it HOLD_MS more, and then destroys itself while its process lives on
// for a few seconds, as the control panel does when the user moves on.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Print(const std::string& key, const std::string& value) {
  std::printf("%s=%s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}
void Print(const std::string& key, long long value) { Print(key, std::to_string(value)); }

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
  const DWORD hold = argc > 3 ? static_cast<DWORD>(std::atoi(argv[3])) : 0;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"PreviewHost";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, L"PreviewHost", L"Preview Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100,
                              width, height, nullptr, nullptr, wc.hInstance, nullptr);
  if (!host) return 1;
  Print("hwnd", static_cast<long long>(reinterpret_cast<UINT_PTR>(host)));
  HWND child = nullptr;
  const DWORD start = GetTickCount();
  while (!child && GetTickCount() - start < 60000) {
    Pump(20);
    child = GetWindow(host, GW_CHILD);
  }
  Print("child", child ? 1 : 0);
  if (!child) return 1;
  Pump(700);  // the child shows itself once it is placed
  wchar_t title[64] = {};
  GetWindowTextW(child, title, 64);
  char utf8[256] = {};
  WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof(utf8), nullptr, nullptr);
  Print("title", utf8);
  Print("style_child", (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) ? 1 : 0);
  Print("visible", IsWindowVisible(child) ? 1 : 0);
  Print("parent", GetAncestor(child, GA_PARENT) == host ? 1 : 0);
  RECT hostRect{}, childRect{};
  GetWindowRect(host, &hostRect);
  GetWindowRect(child, &childRect);
  Print("at", std::to_string(childRect.left - hostRect.left) + "," + std::to_string(childRect.top - hostRect.top));
  Print("size", std::to_string(childRect.right - childRect.left) + "x" + std::to_string(childRect.bottom - childRect.top));
  DWORD process = 0;
  GetWindowThreadProcessId(child, &process);
  Print("other_process", process != GetCurrentProcessId() ? 1 : 0);
  Print("child_pid", static_cast<long long>(process));
  Pump(hold);
  DestroyWindow(host);
  Print("destroyed", 1);
  Pump(8000);
  return 0;
}
