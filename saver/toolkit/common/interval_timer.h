#pragma once
// What every backend's timer does alike. Setting the interval or enabling
// the timer starts the interval afresh; an interval of 0 (or less) stops
// it; it runs only while live (its form or control has a window); a tick
// never comes inside its own running handler (a modal loop in it, say), and
// nothing the handler throws goes further. The backend only starts and
// stops the system's timer and hands its ticks to Fire.
#include <functional>

#include "saver/toolkit/toolkit.h"

namespace toolkit {

class IntervalTimer : public Timer {
 public:
  IntervalTimer(int intervalMs, bool enabled, std::function<void()> tick);

  void SetInterval(int milliseconds) override;
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }

  void SetLive(bool live);
  // Whether ticks are due now: live, enabled, an interval, not inside a tick.
  bool Running() const;
  // A tick from the system; false when it is not one to run.
  bool Fire();

 protected:
  // Starts the system's timer afresh with this interval, or stops it (0).
  virtual void Arm(int intervalMs) = 0;

 private:
  void Apply();

  int interval_;
  bool enabled_;
  bool live_ = false;
  bool ticking_ = false;
  std::function<void()> tick_;
};

}  // namespace toolkit
