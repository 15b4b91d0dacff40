#pragma once
// An interval timer of a form or user control: a QTimer on the GUI thread.
#include <QTimer>

#include "saver/toolkit/common/interval_timer.h"

namespace toolkit::qt {

class QtTimer final : public IntervalTimer {
 public:
  QtTimer(int intervalMs, bool enabled, std::function<void()> tick)
      : IntervalTimer(intervalMs, enabled, std::move(tick)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Fire(); });
  }

 private:
  void Arm(int intervalMs) override {
    if (intervalMs > 0) timer_.start(intervalMs);
    else timer_.stop();
  }

  QTimer timer_;
};

}  // namespace toolkit::qt
