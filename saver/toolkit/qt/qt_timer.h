#pragma once
// An interval timer of a form: a QTimer on the GUI thread, running only
// while its form is loaded. A tick whose handler is still running (it
// opened a modal loop) is skipped rather than nested.
#include <QTimer>
#include <functional>

#include "saver/toolkit/toolkit.h"

namespace toolkit::qt {

class QtTimer final : public Timer {
 public:
  QtTimer(int intervalMs, bool enabled, std::function<void()> tick);

  void SetInterval(int milliseconds) override;
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }

  // The form's load and unload.
  void SetLive(bool live);

 private:
  void Restart();
  void Tick();

  QTimer timer_;
  std::function<void()> tick_;
  int interval_;
  bool enabled_;
  bool live_ = false;
  bool ticking_ = false;
};

}  // namespace toolkit::qt
