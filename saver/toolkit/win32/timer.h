#pragma once
// Interval timers on a form's window (SetTimer / WM_TIMER): ticks come
// through the message loop, between the other messages.
#include "saver/toolkit/win32/windows_api.h"

#include <functional>
#include <memory>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace toolkit::win32 {

class Win32Timer final : public Timer {
 public:
  Win32Timer(UINT_PTR id, int intervalMs, bool enabled, std::function<void()> tick);
  ~Win32Timer() override { Detach(); }

  void SetInterval(int milliseconds) override;
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }

  UINT_PTR Id() const { return id_; }
  // The form's window came or went: the system timer follows it.
  void Attach(HWND window);
  void Detach();
  // WM_TIMER with this timer's id.
  void Fire();

 private:
  void Apply();

  UINT_PTR id_;
  int interval_;
  bool enabled_;
  std::function<void()> tick_;
  HWND window_ = nullptr;
  bool ticking_ = false;
};

// The timers of one window: ids count from 1, and they run while the
// window exists.
class TimerSet {
 public:
  Timer& Add(int intervalMs, bool enabled, std::function<void()> tick);
  void Attach(HWND window);
  void Detach();
  // WM_TIMER: false when the id is none of these.
  bool Fire(WPARAM id);

 private:
  HWND window_ = nullptr;
  std::vector<std::unique_ptr<Win32Timer>> timers_;
};

}  // namespace toolkit::win32
