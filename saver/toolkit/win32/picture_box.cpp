#include "saver/toolkit/win32/picture_box.h"

namespace toolkit::win32 {

Win32PictureBox::Win32PictureBox(ContainerCore& owner)
    : ContainerBase(owner.App(), GetSysColor(COLOR_BTNFACE)) {}

Win32PictureBox::~Win32PictureBox() {
  if (core_.Hwnd() && IsWindow(core_.Hwnd())) DestroyWindow(core_.Hwnd());
}

void Win32PictureBox::CreateIn(HWND parent) {
  if (core_.Hwnd()) return;
  const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) |
                      (enabled_ ? 0 : WS_DISABLED);
  if (!CreateOwnWindow(WindowKind::PictureBox, *this, WS_EX_CONTROLPARENT, L"", style, bounds_.x,
                       bounds_.y, bounds_.width, bounds_.height, parent))
    return;
  core_.CreateChildren();
}

void Win32PictureBox::Move(const PixelRect& bounds) {
  bounds_ = bounds;
  core_.GetSurface().Resize({bounds.width, bounds.height});
  if (core_.Hwnd())
    SetWindowPos(core_.Hwnd(), nullptr, bounds.x, bounds.y, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32PictureBox::SetVisible(bool visible) {
  visible_ = visible;
  if (core_.Hwnd()) ShowWindow(core_.Hwnd(), visible ? SW_SHOWNA : SW_HIDE);
}

void Win32PictureBox::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (core_.Hwnd()) EnableWindow(core_.Hwnd(), enabled ? TRUE : FALSE);
}

LRESULT Win32PictureBox::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) core_.GetSurface().Resize({LOWORD(lParam), HIWORD(lParam)});
  LRESULT result = 0;
  if (core_.HandleMessage(message, wParam, lParam, result)) return result;
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace toolkit::win32
