#include "saver/toolkit/win32/timer.h"

namespace toolkit::win32 {

void Win32Timer::Attach(HWND window) {
  if (window_ != nullptr && window != window_) KillTimer(window_, id_);
  window_ = window;
  SetLive(window != nullptr);
}

void Win32Timer::Arm(int intervalMs) {
  if (window_ == nullptr) return;
  // SetTimer with the same id starts the interval afresh.
  if (intervalMs > 0) SetTimer(window_, id_, static_cast<UINT>(intervalMs), nullptr);
  else KillTimer(window_, id_);
}

Timer& TimerSet::Add(int intervalMs, bool enabled, std::function<void()> tick) {
  timers_.push_back(std::make_unique<Win32Timer>(timers_.size() + 1, intervalMs, enabled, std::move(tick)));
  timers_.back()->Attach(window_);
  return *timers_.back();
}

void TimerSet::Attach(HWND window) {
  window_ = window;
  for (auto& timer : timers_) timer->Attach(window);
}

bool TimerSet::Fire(WPARAM id) {
  if (id < 1 || id > timers_.size()) return false;
  timers_[id - 1]->Fire();
  return true;
}

}  // namespace toolkit::win32
