#include "saver/toolkit/qt/qt_timer.h"

#include "saver/toolkit/qt/qt_text.h"

namespace toolkit::qt {

QtTimer::QtTimer(int intervalMs, bool enabled, std::function<void()> tick)
    : tick_(std::move(tick)), interval_(intervalMs), enabled_(enabled) {
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

void QtTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  Restart();
}

void QtTimer::SetEnabled(bool enabled) {
  // Enabling an enabled timer starts its interval afresh, as SetTimer does.
  enabled_ = enabled;
  Restart();
}

void QtTimer::SetLive(bool live) {
  live_ = live;
  Restart();
}

void QtTimer::Restart() {
  // An interval of 0 (or less) stops the ticks, as a disabled timer.
  if (live_ && enabled_ && interval_ > 0) {
    timer_.start(interval_);
  } else {
    timer_.stop();
  }
}

void QtTimer::Tick() {
  if (!enabled_ || ticking_) return;
  ticking_ = true;
  Invoke(tick_);
  ticking_ = false;
}

}  // namespace toolkit::qt
