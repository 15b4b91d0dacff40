#include "saver/toolkit/win32/timer.h"

#include "saver/toolkit/win32/guarded.h"

namespace toolkit::win32 {

Win32Timer::Win32Timer(UINT_PTR id, int intervalMs, bool enabled, std::function<void()> tick)
    : id_(id), interval_(intervalMs), enabled_(enabled), tick_(std::move(tick)) {}

void Win32Timer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  Apply();
}

void Win32Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void Win32Timer::Attach(HWND window) {
  window_ = window;
  Apply();
}

void Win32Timer::Detach() {
  if (window_) KillTimer(window_, id_);
  window_ = nullptr;
}

void Win32Timer::Apply() {
  if (!window_) return;
  // SetTimer with the same id starts the interval afresh. An interval of 0
  // is a timer that never ticks.
  if (enabled_ && interval_ > 0) {
    SetTimer(window_, id_, static_cast<UINT>(interval_), nullptr);
  } else {
    KillTimer(window_, id_);
  }
}

void Win32Timer::Fire() {
  // A tick whose handler is still running (it opened a dialog, say) is not
  // started again inside it.
  if (!enabled_ || interval_ <= 0 || ticking_ || !tick_) return;
  ticking_ = true;
  Guarded(tick_);
  ticking_ = false;
}

Timer& TimerSet::Add(int intervalMs, bool enabled, std::function<void()> tick) {
  timers_.push_back(std::make_unique<Win32Timer>(timers_.size() + 1, intervalMs, enabled, std::move(tick)));
  if (window_) timers_.back()->Attach(window_);
  return *timers_.back();
}

void TimerSet::Attach(HWND window) {
  window_ = window;
  for (auto& timer : timers_) timer->Attach(window);
}

void TimerSet::Detach() {
  for (auto& timer : timers_) timer->Detach();
  window_ = nullptr;
}

bool TimerSet::Fire(WPARAM id) {
  if (id < 1 || id > timers_.size()) return false;
  timers_[id - 1]->Fire();
  return true;
}

}  // namespace toolkit::win32
