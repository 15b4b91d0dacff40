#include "saver/toolkit/win32/container_core.h"

#include <windowsx.h>

#include "saver/toolkit/win32/combo_box.h"
#include "saver/toolkit/win32/guarded.h"
#include "saver/toolkit/win32/image_control.h"
#include "saver/toolkit/win32/label.h"
#include "saver/toolkit/win32/picture_box.h"
#include "saver/toolkit/win32/user_control.h"
#include "saver/toolkit/win32/win32_application.h"

namespace toolkit::win32 {

int ShiftStateOf(WPARAM wParam) {
  return ((wParam & MK_SHIFT) ? ShiftKey : 0) | ((wParam & MK_CONTROL) ? ControlKey : 0) |
         (GetKeyState(VK_MENU) < 0 ? AltKey : 0);
}

int HeldButtonsOf(WPARAM wParam) {
  return ((wParam & MK_LBUTTON) ? LeftButton : 0) | ((wParam & MK_RBUTTON) ? RightButton : 0) |
         ((wParam & MK_MBUTTON) ? MiddleButton : 0);
}

void WindowedChild::CollectTabStops(std::vector<HWND>& stops) const {
  if (Hwnd() && (GetWindowLongW(Hwnd(), GWL_STYLE) & WS_TABSTOP)) stops.push_back(Hwnd());
}

ContainerCore::ContainerCore(Win32Application& app, Colour backColour)
    : app_(app), surface_(backColour) {
  surface_.changed = [this] { SurfaceChanged(false); };
  surface_.refresh = [this] { SurfaceChanged(true); };
  router_.SetHooks({.own =
                        [this](MouseAction action, const MouseEvent& event) {
                          if (ownMouse) ownMouse(action, event);
                        },
                    .hover = {},
                    .capture =
                        [this](bool take) {
                          if (take) SetCapture(hwnd_);
                          else if (GetCapture() == hwnd_) ReleaseCapture();
                        }});
}

ContainerCore::~ContainerCore() {
  // Controls go before the surface they draw on.
  router_.Reset();
  windowless_.clear();
  windowed_.clear();
  comboBoxes_.clear();
  userControls_.clear();
  pictureBoxes_.clear();
  controls_.clear();
}

template <class T, class... Args>
T& ContainerCore::Own(Args&&... args) {
  auto control = std::make_unique<T>(std::forward<Args>(args)...);
  T& made = *control;
  controls_.push_back(std::move(control));
  if constexpr (std::is_base_of_v<WindowlessItem, T>) {
    windowless_.push_back(&made);
    router_.Add(made);
  }
  if constexpr (std::is_base_of_v<WindowedChild, T>) {
    windowed_.push_back(&made);
    if (hwnd_) made.CreateIn(hwnd_);
  }
  return made;
}

Label& ContainerCore::AddLabel() { return Own<Win32Label>(*this); }
Image& ContainerCore::AddImage() { return Own<Win32Image>(*this); }
Shape& ContainerCore::AddShape() { return Own<Win32Shape>(*this); }

ComboBox& ContainerCore::AddComboBox() {
  Win32ComboBox& combo = Own<Win32ComboBox>(*this);
  comboBoxes_.push_back(&combo);
  return combo;
}

PictureBox& ContainerCore::AddPictureBox() {
  Win32PictureBox& box = Own<Win32PictureBox>(*this);
  pictureBoxes_.push_back(&box);
  return box;
}

UserControl& ContainerCore::AddUserControl(UserControlEvents& events) {
  Win32UserControl& control = Own<Win32UserControl>(*this, events);
  userControls_.push_back(&control);
  return control;
}

void ContainerCore::CreateChildren() {
  for (WindowedChild* child : windowed_) child->CreateIn(hwnd_);
}

void ContainerCore::CollectTabStops(std::vector<HWND>& stops) const {
  for (const WindowedChild* child : windowed_) child->CollectTabStops(stops);
}

void ContainerCore::Silence() {
  for (Win32UserControl* control : userControls_) control->Silence();
  for (Win32PictureBox* box : pictureBoxes_) box->Core().Silence();
}

void ContainerCore::SetBackColour(Colour colour) {
  // As with the forms of old, a new back colour clears what was drawn.
  surface_.SetBackColour(colour);
  surface_.Clear();
}

void ContainerCore::SurfaceChanged(bool now) const {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  for (const Win32UserControl* control : userControls_) control->BehindChanged();
  if (now) UpdateWindow(hwnd_);
}

void ContainerCore::InvalidateArea(const PixelRect& area) const {
  if (!hwnd_ || area.width <= 0 || area.height <= 0) return;
  RECT r{area.x, area.y, area.x + area.width, area.y + area.height};
  InvalidateRect(hwnd_, &r, FALSE);
  for (const Win32UserControl* control : userControls_) control->BehindChanged();
}

void ContainerCore::Compose(HDC dc, const RECT& area) const {
  if (paintBehind) {
    paintBehind(dc, area);
  } else {
    surface_.CopyTo(dc, area);
  }
  for (const WindowlessItem* item : windowless_) {
    if (!item->TargetShown()) continue;
    const PixelRect b = item->TargetBounds();
    RECT bounds{b.x, b.y, b.x + b.width, b.y + b.height};
    RECT overlap;
    if (IntersectRect(&overlap, &bounds, &area)) item->Draw(dc);
  }
}

void ContainerCore::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  const RECT area = paint.rcPaint;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (dc && width > 0 && height > 0) {
    // Composed off-screen, then copied in one go: no flicker.
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
    MemoryDc buffer(dc);
    if (bitmap && buffer.Get()) {
      buffer.Select(bitmap.Get());
      SetViewportOrgEx(buffer.Get(), -area.left, -area.top, nullptr);
      Compose(buffer.Get(), area);
      BitBlt(dc, area.left, area.top, width, height, buffer.Get(), area.left, area.top, SRCCOPY);
    }
  }
  EndPaint(hwnd_, &paint);
}

void ContainerCore::MouseButton(int button, bool down, WPARAM wParam, LPARAM lParam) {
  const MouseEvent event{button, ShiftStateOf(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (down) router_.Press(event);
  else router_.Release(event);
}

bool ContainerCore::SetPointer(WPARAM wParam, LPARAM lParam) {
  if (app_.Busy()) {
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    return true;
  }
  if (reinterpret_cast<HWND>(wParam) != hwnd_ || LOWORD(lParam) != HTCLIENT) return false;
  POINT p;
  HCURSOR pointer = nullptr;
  if (GetCursorPos(&p) && ScreenToClient(hwnd_, &p)) {
    if (auto* item = dynamic_cast<WindowlessItem*>(router_.HitTest({p.x, p.y}))) pointer = item->Pointer();
  }
  SetCursor(pointer ? pointer : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
  return true;
}

bool ContainerCore::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT:
      Paint();
      return true;
    case WM_LBUTTONDOWN:
      MouseButton(LeftButton, true, wParam, lParam);
      return true;
    case WM_LBUTTONUP:
      MouseButton(LeftButton, false, wParam, lParam);
      return true;
    case WM_RBUTTONDOWN:
      MouseButton(RightButton, true, wParam, lParam);
      return true;
    case WM_RBUTTONUP:
      MouseButton(RightButton, false, wParam, lParam);
      return true;
    case WM_MBUTTONDOWN:
      MouseButton(MiddleButton, true, wParam, lParam);
      return true;
    case WM_MBUTTONUP:
      MouseButton(MiddleButton, false, wParam, lParam);
      return true;
    case WM_MOUSEMOVE:
      router_.Move({HeldButtonsOf(wParam), ShiftStateOf(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return true;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the held buttons are no longer ours.
      if (reinterpret_cast<HWND>(lParam) != hwnd_) router_.Reset();
      return false;
    case WM_SETCURSOR:
      if (!SetPointer(wParam, lParam)) return false;
      result = TRUE;
      return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      for (const Win32ComboBox* combo : comboBoxes_) {
        if (auto brush = combo->ColourFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
          result = reinterpret_cast<LRESULT>(*brush);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

}  // namespace toolkit::win32
