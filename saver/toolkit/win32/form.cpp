#include "saver/toolkit/win32/form.h"

#include <algorithm>
#include <map>

#include "saver/toolkit/win32/guarded.h"
#include "saver/toolkit/win32/picture.h"
#include "saver/toolkit/win32/text.h"
#include "saver/toolkit/win32/win32_application.h"

namespace toolkit::win32 {
namespace {

constexpr UINT kHostWatchMs = 250;

// The forms that watch their foreign host, by the id of their thread timer.
std::map<UINT_PTR, Win32Form*>& HostWatches() {
  static std::map<UINT_PTR, Win32Form*> watches;
  return watches;
}

void CALLBACK HostWatchTick(HWND, UINT, UINT_PTR id, DWORD) {
  auto& watches = HostWatches();
  const auto watch = watches.find(id);
  if (watch == watches.end()) {
    KillTimer(nullptr, id);
    return;
  }
  watch->second->WatchHost();
}

Size NonNegative(Size size) { return {std::max(size.width, 0), std::max(size.height, 0)}; }

bool CanTakeFocus(HWND window) {
  return window && IsWindowVisible(window) && IsWindowEnabled(window);
}

}  // namespace

Win32Form::Win32Form(Win32Application& app, FormEvents& events)
    : ContainerBase(app, GetSysColor(COLOR_BTNFACE)),
      app_(app),
      events_(events),
      lifeCycle_(events, {.makeWindow = [this] { return MakeWindow(); },
                          .dropWindow = [this] { DropWindow(); },
                          .raise = [](const char*, const std::function<void()>& handler) { Guarded(handler); },
                          .programEnded = {}}) {
  core_.GetSurface().Resize(clientSize_);
  app_.FormCreated(*this);
}

Win32Form::~Win32Form() {
  // The program let go of the form: its window goes without any event.
  silentDestroy_ = true;
  core_.Silence();
  StopHostWatch();
  timers_.Attach(nullptr);
  EndModal();
  if (HWND window = Hwnd(); window && IsWindow(window)) DestroyWindow(window);
  if (appGone_) return;
  if (Loaded()) {
    lifeCycle_.Abandon();
    app_.FormUnloaded(*this);
  }
  app_.FormDestroyed(*this);
}

DWORD Win32Form::Style() const {
  if (HWND window = Hwnd()) return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  return WS_CLIPCHILDREN | (border_ == BorderStyle::None ? WS_POPUP : WS_CAPTION | WS_SYSMENU);
}

Size Win32Form::FrameExtra() const {
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, Style(), FALSE, 0);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

bool Win32Form::IsTopLevel() const { return Hwnd() && !(Style() & WS_CHILD); }

bool Win32Form::Holds(HWND window) const {
  return Hwnd() && window && (window == Hwnd() || IsChild(Hwnd(), window));
}

void Win32Form::SetCaption(std::string_view caption) {
  caption_ = std::string(caption);
  if (Hwnd()) SetWindowTextW(Hwnd(), Widen(caption_).c_str());
}

void Win32Form::SetIcon(PictureRef icon) {
  icon_ = std::move(icon);
  ApplyIcon();
}

void Win32Form::ApplyIcon() {
  const auto* picture = dynamic_cast<const Win32Picture*>(icon_.get());
  if (!Hwnd() || !picture || !picture->Icon()) return;
  const auto handle = reinterpret_cast<LPARAM>(picture->Icon());
  SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, handle);
  SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, handle);
}

void Win32Form::SetClientSize(Size pixels) {
  clientSize_ = NonNegative(pixels);
  if (HWND window = Hwnd()) {
    const Size extra = FrameExtra();
    SetWindowPos(window, nullptr, 0, 0, clientSize_.width + extra.width,
                 clientSize_.height + extra.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    core_.GetSurface().Resize(clientSize_);
  }
}

Size Win32Form::ClientSize() const {
  if (HWND window = Hwnd()) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
  }
  return clientSize_;
}

void Win32Form::MoveWindow(const PixelRect& outer) {
  const Size size = NonNegative({outer.width, outer.height});
  if (HWND window = Hwnd()) {
    SetWindowPos(window, nullptr, outer.x, outer.y, size.width, size.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  position_ = Point{outer.x, outer.y};
  const Size extra = FrameExtra();
  clientSize_ = NonNegative({size.width - extra.width, size.height - extra.height});
  core_.GetSurface().Resize(clientSize_);
}

Size Win32Form::OuterSize() const {
  if (HWND window = Hwnd()) {
    RECT outer{};
    GetWindowRect(window, &outer);
    return {outer.right - outer.left, outer.bottom - outer.top};
  }
  const Size extra = FrameExtra();
  return {clientSize_.width + extra.width, clientSize_.height + extra.height};
}

void Win32Form::Load() { lifeCycle_.Load(clientSize_); }

bool Win32Form::MakeWindow() {
  const Size extra = FrameExtra();
  const bool popup = border_ == BorderStyle::None;
  const int x = position_ ? position_->x : (popup ? 0 : CW_USEDEFAULT);
  const int y = position_ ? position_->y : (popup ? 0 : CW_USEDEFAULT);
  // Never WS_VISIBLE here: a loaded form stays hidden until shown, yet
  // other programs find it by its caption.
  if (!CreateOwnWindow(WindowKind::Form, *this, 0, Widen(caption_).c_str(), Style(), x, y,
                       clientSize_.width + extra.width, clientSize_.height + extra.height, nullptr))
    return false;
  ApplyIcon();
  core_.GetSurface().Resize(ClientSize());
  core_.CreateChildren();
  timers_.Attach(Hwnd());
  app_.FormLoaded(*this);
  return true;
}

void Win32Form::Show(bool modal) {
  if (!Loaded()) Load();
  if (!Loaded()) return;
  // The first Resize comes before the window shows, so its first paint
  // already has what the program draws on Resize.
  core_.GetSurface().Resize(ClientSize());
  shown_ = true;
  if (!lifeCycle_.BeforeShow(ClientSize())) return;
  HWND window = Hwnd();
  // Inside a foreign window the form shows without taking the activation.
  ShowWindow(window, IsTopLevel() ? SW_SHOWNORMAL : SW_SHOWNA);
  UpdateWindow(window);
  if (modal && Loaded()) RunModal();
}

void Win32Form::Hide() {
  if (Hwnd()) ShowWindow(Hwnd(), SW_HIDE);
}

void Win32Form::Unload() { FinishUnload(true); }

void Win32Form::FinishUnload(bool destroyWindow) {
  if (!Loaded() || lifeCycle_.Unloading()) return;
  destroyOnUnload_ = destroyWindow;
  lifeCycle_.Unload();
}

void Win32Form::DropWindow() {
  // The windows a modal form disabled come back before it goes, so that
  // the activation returns to them.
  EndModal();
  StopHostWatch();
  timers_.Attach(nullptr);
  // After Unload the program hears nothing more from this form's controls.
  core_.Silence();
  shown_ = false;
  if (HWND window = Hwnd(); destroyOnUnload_ && window) DestroyWindow(window);
  app_.FormUnloaded(*this);
}

void Win32Form::RunModal() {
  modal_ = true;
  for (Win32Form* other : app_.Forms()) {
    HWND window = other->Hwnd();
    if (other == this || !other->Loaded() || !other->IsTopLevel() || !IsWindowEnabled(window)) continue;
    EnableWindow(window, FALSE);
    disabledForModal_.push_back(window);
  }
  while (Loaded()) {
    if (auto quit = app_.PumpMessage()) {
      // A quit request belongs to the outer loop.
      PostQuitMessage(*quit);
      break;
    }
  }
  EndModal();
}

void Win32Form::EndModal() {
  for (HWND window : disabledForModal_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  disabledForModal_.clear();
  modal_ = false;
}

bool Win32Form::SetChildStyle() {
  HWND window = Hwnd();
  if (!window) return false;
  SetLastError(0);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  if (style == 0 && GetLastError() != 0) return false;
  SetLastError(0);
  const LONG previous = SetWindowLongA(window, GWL_STYLE, style | WS_CHILD);
  return previous != 0 || GetLastError() == 0;
}

bool Win32Form::SetParentWindow(WindowHandle parent) {
  HWND window = Hwnd();
  HWND host = reinterpret_cast<HWND>(parent);
  // A handle that names no window leaves the form where it is.
  if (!window || !host || !IsWindow(host)) return false;
  SetLastError(0);
  if (!SetParent(window, host) && GetLastError() != 0) return false;
  // GetParent would name the owner of a window that also has WS_POPUP.
  if (GetAncestor(window, GA_PARENT) != host) return false;
  // A host destroyed by its own process takes this window with it, and the
  // window hears of it (WM_DESTROY). When the host's process dies, Wine
  // removes this window without a word, and its timers with it: a thread
  // timer watches for that.
  host_ = host;
  StopHostWatch();
  hostWatch_ = SetTimer(nullptr, 0, kHostWatchMs, HostWatchTick);
  if (hostWatch_) HostWatches()[hostWatch_] = this;
  return true;
}

void Win32Form::StopHostWatch() {
  if (!hostWatch_) return;
  KillTimer(nullptr, hostWatch_);
  HostWatches().erase(hostWatch_);
  hostWatch_ = 0;
}

void Win32Form::WatchHost() {
  HWND window = Hwnd();
  if (window && IsWindow(window) && IsWindow(host_) && GetAncestor(window, GA_PARENT) == host_) return;
  StopHostWatch();
  host_ = nullptr;
  if (window && IsWindow(window)) {
    Unload();
    return;
  }
  // The window is gone already: the unload runs without it.
  if (Loaded() && !lifeCycle_.Unloading()) FinishUnload(false);
  core_.Detach();
}

Timer& Win32Form::AddTimer(int intervalMs, bool enabled, std::function<void()> tick) {
  return timers_.Add(intervalMs, enabled, std::move(tick));
}

std::vector<HWND> Win32Form::TabStops() const {
  std::vector<HWND> stops;
  if (tabOrder_.empty()) {
    core_.CollectTabStops(stops);
    return stops;
  }
  for (Control* control : tabOrder_) {
    const auto* windowed = dynamic_cast<const WindowedChild*>(control);
    if (windowed && windowed->Hwnd()) stops.push_back(windowed->Hwnd());
  }
  return stops;
}

bool Win32Form::MoveFocus(bool backwards) {
  const std::vector<HWND> stops = TabStops();
  const int count = static_cast<int>(stops.size());
  if (count == 0) return false;
  HWND focus = GetFocus();
  int current = -1;
  for (int i = 0; i < count; ++i)
    if (stops[i] == focus || IsChild(stops[i], focus)) current = i;
  if (current < 0) current = backwards ? 0 : count - 1;
  for (int step = 1; step <= count; ++step) {
    const int next = ((current + (backwards ? -step : step)) % count + count) % count;
    if (CanTakeFocus(stops[next])) {
      SetFocus(stops[next]);
      break;
    }
  }
  return true;
}

void Win32Form::FocusFirst() {
  for (HWND stop : TabStops()) {
    if (CanTakeFocus(stop)) {
      SetFocus(stop);
      return;
    }
  }
  SetFocus(Hwnd());
}

LRESULT Win32Form::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) app_.UnloadAll();
      return 0;
    case WM_DESTROY:
      // Destroyed without an Unload: with the foreign window it was put in.
      if (Loaded() && !lifeCycle_.Unloading() && !silentDestroy_) FinishUnload(false);
      return 0;
    case WM_TIMER:
      timers_.Fire(wParam);
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        const Size size{LOWORD(lParam), HIWORD(lParam)};
        core_.GetSurface().Resize(size);
        // A hidden form hears of its size at its first showing.
        if (shown_) lifeCycle_.Sized(size);
      }
      return 0;
    case WM_ACTIVATE:
      if (!IsTopLevel()) break;
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && focus != window && Holds(focus)) lastFocus_ = focus;
        return 0;
      }
      if (HIWORD(wParam)) break;  // minimised
      if (lastFocus_ && Holds(lastFocus_) && CanTakeFocus(lastFocus_)) {
        SetFocus(lastFocus_);
      } else {
        FocusFirst();
      }
      return 0;
    default:
      break;
  }
  LRESULT result = 0;
  if (core_.HandleMessage(message, wParam, lParam, result)) return result;
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace toolkit::win32
