// saver_title_window.exe TITLE MS: holds a hidden top-level window of that
// title for MS milliseconds, as a running copy of the saver program would.
// Prints "ready=1" once the window exists.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  HWND window = CreateWindowExA(0, "STATIC", argv[1], WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return 1;
  std::printf("ready=1\n");
  std::fflush(stdout);
  DWORD until = GetTickCount() + static_cast<DWORD>(std::atoi(argv[2]));
  while (GetTickCount() < until) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
  DestroyWindow(window);
  return 0;
}
