#include "saver/toolkit/win32/window_class.h"

namespace toolkit::win32 {
namespace {

LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* target = static_cast<MessageTarget*>(create->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
    if (target) target->Attach(window);
  }
  auto* target = reinterpret_cast<MessageTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!target) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    const LRESULT result = target->OnMessage(window, message, wParam, lParam);
    target->Detach();
    return result;
  }
  return target->OnMessage(window, message, wParam, lParam);
}

struct ClassInfo {
  const wchar_t* name;
  UINT style;
  bool registered;
};

ClassInfo classes[] = {
    {L"TovarelForm", 0, false},
    {L"TovarelPictureBox", 0, false},
    {L"TovarelUserControl", 0, false},
};

}  // namespace

const wchar_t* OwnWindowClass(WindowKind kind) {
  ClassInfo& info = classes[static_cast<int>(kind)];
  if (!info.registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    // No CS_DBLCLKS: a second press is a press like the first.
    wc.style = info.style;
    wc.lpfnWndProc = OwnWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    // Every pixel is painted from the retained image: no background brush.
    wc.hbrBackground = nullptr;
    wc.lpszClassName = info.name;
    info.registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  return info.name;
}

HWND CreateOwnWindow(WindowKind kind, MessageTarget& target, DWORD exStyle, const wchar_t* title,
                     DWORD style, int x, int y, int width, int height, HWND parent) {
  return CreateWindowExW(exStyle, OwnWindowClass(kind), title, style, x, y, width, height, parent,
                         nullptr, GetModuleHandleW(nullptr), &target);
}

}  // namespace toolkit::win32
