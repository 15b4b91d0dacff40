#include "saver/toolkit/win32/user_control.h"

#include "saver/toolkit/win32/guarded.h"

namespace toolkit::win32 {

template <class Handler>
void Win32UserControl::Raise(Handler&& handler) {
  if (!silent_) Guarded(std::forward<Handler>(handler));
}

Win32UserControl::Win32UserControl(ContainerCore& owner, UserControlEvents& events)
    : ContainerBase(owner.App(), GetSysColor(COLOR_BTNFACE)), owner_(owner), events_(events) {
  core_.ownMouse = [this](MouseAction action, const MouseEvent& event) {
    switch (action) {
      case MouseAction::Down:
        Raise([&] { events_.MouseDown(event); });
        break;
      case MouseAction::Move:
        Raise([&] { events_.MouseMove(event); });
        break;
      case MouseAction::Up:
        Raise([&] { events_.MouseUp(event); });
        break;
    }
  };
}

void Win32UserControl::Silence() {
  silent_ = true;
  timers_.Attach(nullptr);
  core_.Silence();
}

Win32UserControl::~Win32UserControl() {
  timers_.Attach(nullptr);
  if (core_.Hwnd() && IsWindow(core_.Hwnd())) DestroyWindow(core_.Hwnd());
}

void Win32UserControl::CreateIn(HWND parent) {
  if (core_.Hwnd()) return;
  const DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                      (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
  if (!CreateOwnWindow(WindowKind::UserControl, *this, 0, L"", style, bounds_.x, bounds_.y,
                       bounds_.width, bounds_.height, parent))
    return;
  core_.CreateChildren();
  timers_.Attach(core_.Hwnd());
}

void Win32UserControl::SizeTo(Size size) {
  size = {size.width > 0 ? size.width : 0, size.height > 0 ? size.height : 0};
  if (size == core_.GetSurface().PixelSize()) return;
  core_.GetSurface().Resize(size);
  Raise([&] { events_.Resize(); });
}

void Win32UserControl::Move(const PixelRect& bounds) {
  bounds_ = bounds;
  if (core_.Hwnd())
    SetWindowPos(core_.Hwnd(), nullptr, bounds.x, bounds.y, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  // Without a window yet (or if the system sent no WM_SIZE) the size still counts.
  SizeTo({bounds.width, bounds.height});
}

void Win32UserControl::SetVisible(bool visible) {
  visible_ = visible;
  if (core_.Hwnd()) ShowWindow(core_.Hwnd(), visible ? SW_SHOWNA : SW_HIDE);
}

void Win32UserControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (core_.Hwnd()) EnableWindow(core_.Hwnd(), enabled ? TRUE : FALSE);
}

void Win32UserControl::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  if (transparent_) {
    core_.paintBehind = [this](HDC dc, const RECT& area) { PaintBehind(dc, area); };
  } else {
    core_.paintBehind = nullptr;
  }
  if (core_.Hwnd()) InvalidateRect(core_.Hwnd(), nullptr, FALSE);
}

Timer& Win32UserControl::AddTimer(int intervalMs, bool enabled, std::function<void()> tick) {
  return timers_.Add(intervalMs, enabled, std::move(tick));
}

WindowHandle Win32UserControl::ParentHandle() const {
  HWND parent = core_.Hwnd() ? GetParent(core_.Hwnd()) : owner_.Hwnd();
  return reinterpret_cast<WindowHandle>(parent);
}

void Win32UserControl::BehindChanged() const {
  if (transparent_ && core_.Hwnd()) InvalidateRect(core_.Hwnd(), nullptr, FALSE);
}

void Win32UserControl::PaintBehind(HDC dc, const RECT& area) const {
  // The container's composition, moved so that its pixels land under ours.
  const int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, -bounds_.x, -bounds_.y, nullptr);
  RECT inParent = area;
  OffsetRect(&inParent, bounds_.x, bounds_.y);
  owner_.Compose(dc, inParent);
  RestoreDC(dc, saved);
}

LRESULT Win32UserControl::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      SizeTo({LOWORD(lParam), HIWORD(lParam)});
      return 0;
    case WM_TIMER:
      timers_.Fire(wParam);
      return 0;
    case WM_DESTROY:
      timers_.Attach(nullptr);
      break;
    case WM_SETFOCUS:
      Raise([&] { events_.GotFocus(); });
      return 0;
    case WM_KILLFOCUS:
      Raise([&] { events_.LostFocus(); });
      return 0;
    case WM_LBUTTONDOWN:
      // A left press gives the control the focus before the press is
      // reported; a right or middle one leaves the focus, and so the look.
      if (GetFocus() != window) SetFocus(window);
      break;
    default:
      break;
  }
  LRESULT result = 0;
  if (core_.HandleMessage(message, wParam, lParam, result)) return result;
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace toolkit::win32
