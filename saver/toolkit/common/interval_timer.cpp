#include "saver/toolkit/common/interval_timer.h"

namespace toolkit {

IntervalTimer::IntervalTimer(int intervalMs, bool enabled, std::function<void()> tick)
    : interval_(intervalMs), enabled_(enabled), tick_(std::move(tick)) {}

void IntervalTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  Apply();
}

void IntervalTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void IntervalTimer::SetLive(bool live) {
  live_ = live;
  Apply();
}

bool IntervalTimer::Running() const { return live_ && enabled_ && interval_ > 0 && !ticking_; }

void IntervalTimer::Apply() { Arm(live_ && enabled_ && interval_ > 0 ? interval_ : 0); }

bool IntervalTimer::Fire() {
  if (!Running() || !tick_) return false;
  ticking_ = true;
  try {
    tick_();
  } catch (...) {
    // The program's handlers go on past a failing step.
  }
  ticking_ = false;
  return true;
}

}  // namespace toolkit
