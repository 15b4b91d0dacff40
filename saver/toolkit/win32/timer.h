#pragma once
// Interval timers on a form's window (SetTimer / WM_TIMER): ticks come
// through the message loop, between the other messages.
#include "saver/toolkit/win32/windows_api.h"

#include <memory>
#include <vector>

#include "saver/toolkit/common/interval_timer.h"

namespace toolkit::win32 {

class Win32Timer final : public IntervalTimer {
 public:
  Win32Timer(UINT_PTR id, int intervalMs, bool enabled, std::function<void()> tick)
      : IntervalTimer(intervalMs, enabled, std::move(tick)), id_(id) {}
  ~Win32Timer() override { Attach(nullptr); }

  // The form's window came or went: the system timer follows it.
  void Attach(HWND window);

 private:
  void Arm(int intervalMs) override;

  UINT_PTR id_;
  HWND window_ = nullptr;
};

// The timers of one window: ids count from 1, and they run while the
// window exists.
class TimerSet {
 public:
  Timer& Add(int intervalMs, bool enabled, std::function<void()> tick);
  void Attach(HWND window);
  // WM_TIMER: false when the id is none of these.
  bool Fire(WPARAM id);

 private:
  HWND window_ = nullptr;
  std::vector<std::unique_ptr<Win32Timer>> timers_;
};

}  // namespace toolkit::win32
